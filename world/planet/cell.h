#pragma once

// One terrain sample of the planet grid. Heights are plain integers with sea level at
// SEA_LEVEL (world/geometry.h), temperatures degrees Fahrenheit with a whole-number value.
struct CELL
{
    int iHeight;
    int iReserved;
    int iKind;              // 1 below height 2500, otherwise the kind roll of the spot that last changed it
    float fTemperature;
    int iLandmass;          // -1 until labelled; 0 open sea, 2, 3, ... a land region with its fringe
    unsigned char bRiver;
    unsigned char bForest;
    unsigned char bDesert;

    // A fresh cell: ocean floor at height 0, kind 1, not yet labelled.
    static void init(CELL* pCell);
    // Copies every field.
    static void copy(CELL* pDestination, const CELL* pSource);
};
