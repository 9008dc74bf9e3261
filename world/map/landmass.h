#pragma once

#include <string>

// One landmass that holds at least one map node. The word database's record of used words
// holds strName itself, so the map takes it out of that record before freeing it.
struct LANDMASS
{
    int iId;              // the cells' landmass id; never 0 (the sea)
    int iCount;           // map nodes on it, less one
    std::string* strName; // owned
};
