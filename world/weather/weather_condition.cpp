// The list of weather conditions, and methods of WORLD: reading a row of table wc into the
// list and choosing a condition that fits a weather.

#include "world/weather/weather_condition.h"

#include <sqlite3.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "framework/helpers.h"
#include "framework/random.h"
#include "framework/run_files.h"
#include "world/planet/cell.h"
#include "world/weather/weather.h"
#include "world/world.h"

std::list<WEATHER_CONDITION*> weather_conditions;

namespace
{
// The columns a wc row must have; any further ones are ignored.
const int WC_COLUMNS = 9;

// Frees the conditions when the process ends. Defined after the list, so it runs first at exit.
struct CONDITIONS_OWNER
{
    ~CONDITIONS_OWNER() { clear_weather_conditions(); }
} conditions_owner;
}

void clear_weather_conditions()
{
    delete_all(weather_conditions);
}

void read_weather_conditions()
{
    // wc.db is an input: read-only, so a missing file is an error and not a new empty one.
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(WC_DB_PATH, &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        exit_on_open_failure(db, "WORLD::init", WC_DB_PATH);

    // A second start reads the table afresh instead of adding to the old rows.
    clear_weather_conditions();
    const std::string sToo_few = "table wc has fewer than " + std::to_string(WC_COLUMNS) + " columns";
    exec_or_exit(db, "WORLD::init", WC_DB_PATH, "Can't read database", "SELECT * FROM wc",
                 WORLD::load_weather_condition, sToo_few.c_str());
    // Without a condition every node's weather would report that none was chosen.
    if (weather_conditions.empty())
        exit_on_database_failure(db, "WORLD::init", "Can't read database", WC_DB_PATH,
                                 "table wc holds no weather conditions");
    sqlite3_close(db);
}

int WORLD::load_weather_condition(void*, int argc, char** argv, char**)
{
    if (argc < WC_COLUMNS)
        return 1;

    WEATHER_CONDITION* wcCondition = new WEATHER_CONDITION();
    wcCondition->sName = column_text(argc, argv, 0);
    wcCondition->iA_min = std::atoi(column_text(argc, argv, 1));
    wcCondition->iA_max = std::atoi(column_text(argc, argv, 2));
    wcCondition->iB_min = std::atoi(column_text(argc, argv, 3));
    wcCondition->iB_max = std::atoi(column_text(argc, argv, 4));
    wcCondition->iT_min = std::atoi(column_text(argc, argv, 5));
    wcCondition->iT_max = std::atoi(column_text(argc, argv, 6));
    // 0 and +-100 in the table stand for "no bound".
    if (wcCondition->iT_min == 0)
        wcCondition->iT_min = -1000;
    if (std::abs(wcCondition->iT_max) == 100)
        wcCondition->iT_max *= 10;
    wcCondition->iRule = std::atoi(column_text(argc, argv, 7));
    wcCondition->iExtra = std::atoi(column_text(argc, argv, 8));

    add_weather_condition(wcCondition);
    return 0;
}

void WORLD::add_weather_condition(WEATHER_CONDITION* wcCondition)
{
    weather_conditions.push_back(wcCondition);
}

std::string WORLD::choose_weather(WEATHER* pWeather, CELL* pCell)
{
    float fA = pWeather->get_param_a();
    float fB = pWeather->get_param_b();
    float fTemperature = pWeather->get_temperature();
    bool bDesert = pCell != nullptr && pCell->bDesert != 0;

    std::vector<WEATHER_CONDITION*> v_Kept;
    for (WEATHER_CONDITION* wcCondition : weather_conditions)
        if (wcCondition->fits(fA, fB, fTemperature, bDesert))
            v_Kept.push_back(wcCondition);

    if (v_Kept.empty())
    {
        show_message_once("ERROR: No weather chosen from the world engine!");
        return "Overcasted";
    }
    int k = random_next() % (int)v_Kept.size();
    return v_Kept[k]->sName;
}
