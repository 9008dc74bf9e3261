#pragma once

#include <string>

// One row of table wc: a named weather and the ranges of A, B and temperature it fits.
struct WEATHER_CONDITION
{
    std::string sName;
    int iA_min;
    int iA_max;
    int iB_min;
    int iB_max;
    int iT_min;
    int iT_max;
    int iRule;  // 0 any cell, 1 desert only, 2 not desert; anything else never fits
    int iExtra; // kept from the table, not used
};
