#pragma once

#include <list>
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

    // A, B and temperature within the ranges, bounds included, on ground the rule allows.
    bool fits(float a, float b, float t, bool bDesert) const
    {
        const bool bRule = iRule == 0 || (iRule == 1 && bDesert) || (iRule == 2 && !bDesert);
        return iA_min <= a && a <= iA_max && iB_min <= b && b <= iB_max && iT_min <= t &&
               t <= iT_max && bRule;
    }
};

// The rows of table wc (WC_DB_PATH), in query order; filled by WORLD::init and read by
// WORLD::choose_weather. The list owns its conditions: only clear_weather_conditions frees
// them, before the table is read again and when the process ends.
extern std::list<WEATHER_CONDITION*> weather_conditions;
void clear_weather_conditions();

// Reads the conditions afresh from the weather database. Ends the process, naming the file,
// when it will not open, table wc cannot be read whole or holds no condition.
void read_weather_conditions();
