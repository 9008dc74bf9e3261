#include "world/world.h"

#include <sqlite3.h>

#include <cstdlib>
#include <vector>

#include "framework/helpers.h"
#include "framework/random.h"
#include "world/map/map.h"
#include "world/map/quest.h"
#include "world/map/traveller.h"
#include "world/planet/cell.h"
#include "world/save_database.h"
#include "world/weather/weather.h"

namespace
{
const char* WC_PATH = "./data/wc.db";
const char* SAVE_PATH = "./data/save_game.db";
}

WORLD* WORLD::instance()
{
    static WORLD* pWorld = new WORLD();
    return pWorld;
}

WORLD::WORLD()
    : pPlanet(NULL),
      bmpBackground(NULL),
      pTraveller(NULL),
      bGenerated(false)
{
    init();
}

WORLD::~WORLD()
{
    delete_all(l_Maps);
    delete_all(l_Quests);
    delete_all(weather_conditions);
    clear_messages();
    destroy_bitmap_if(bmpBackground);
    sqlite3_close(save_db);
    save_db = NULL;
}

bool WORLD::is_player_moving()
{
    return pTraveller != NULL && pTraveller->is_moving();
}

void WORLD::clear_messages()
{
    for (std::string* sMessage : l_Messages)
        delete sMessage;
    l_Messages.clear();
}

void WORLD::init()
{
    pPlanet = NULL;
    bKey_s = false;
    bPopulation_open = false;
    bKey_w = false;
    bWeather_open = false;
    bKey_q = false;
    bQuests_open = false;

    // wc.db is an input: read-only, so a missing file is an error and not a new empty one.
    sqlite3* db = NULL;
    if (sqlite3_open_v2(WC_PATH, &db, SQLITE_OPEN_READONLY, NULL) != SQLITE_OK)
        exit_on_open_failure(db, "WORLD::init", WC_PATH);

    // A second start reads the table afresh instead of adding to the old rows.
    delete_all(weather_conditions);
    char* zErrMsg = NULL;
    if (sqlite3_exec(db, "SELECT * FROM wc", WORLD::load_weather_condition, NULL, &zErrMsg) != SQLITE_OK)
        report_sql_error(db, zErrMsg);
    sqlite3_close(db);

    sqlite3_close(save_db);
    save_db = NULL;
    // Without the save database every tick's transaction would fail and be reported.
    if (sqlite3_open(SAVE_PATH, &save_db) != SQLITE_OK)
    {
        sqlite3* pFailed = save_db;
        save_db = NULL;
        exit_on_open_failure(pFailed, "WORLD::init", SAVE_PATH);
    }

    // Only the current run is kept; a fresh file has no tables to drop.
    exec_sql(save_db, "DROP TABLE IF EXISTS nodes");
    exec_sql(save_db, "DROP TABLE IF EXISTS node_weather");
    exec_sql(save_db, "DROP TABLE IF EXISTS quests");
    exec_sql(save_db, "CREATE TABLE nodes(Node_ID int UNIQUE)");
    exec_sql(save_db, "CREATE TABLE node_weather(Node_ID int, Day int, Date varchar(50), LowTemp int, HighTemp int)");
    exec_sql(save_db, "CREATE TABLE quests(Quest_ID int UNIQUE, vcQuest varchar(20), vcLocked varchar(20))");
    exec_sql(save_db, "PRAGMA synchronous=OFF");
}

int WORLD::load_weather_condition(void*, int argc, char** argv, char**)
{
    if (argc < 9)
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
    bool bDesert = pCell != NULL && pCell->bDesert != 0;

    std::vector<WEATHER_CONDITION*> v_Kept;
    for (WEATHER_CONDITION* wcCondition : weather_conditions)
        if (wcCondition->fits(fA, fB, fTemperature, bDesert))
            v_Kept.push_back(wcCondition);

    if (v_Kept.empty())
    {
        allegro_message("ERROR: No weather chosen from the world engine!");
        return "Overcasted";
    }
    int k = random_next() % (int)v_Kept.size();
    return v_Kept[k]->sName;
}
