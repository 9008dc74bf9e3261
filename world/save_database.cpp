#include "world/save_database.h"

#include <string>

#include "framework/helpers.h"
#include "framework/run_files.h"

sqlite3* save_db = nullptr;

namespace
{
// What every start makes of the save database, in order.
const char* const SAVE_SCHEMA[] = {
    "DROP TABLE IF EXISTS nodes",
    "DROP TABLE IF EXISTS node_weather",
    "DROP TABLE IF EXISTS quests",
    "CREATE TABLE nodes(Node_ID int UNIQUE)",
    "CREATE TABLE node_weather(Node_ID int, Day int, Date varchar(50), LowTemp int, HighTemp int)",
    "CREATE TABLE quests(Quest_ID int UNIQUE, vcQuest varchar(20), vcLocked varchar(20))",
    "PRAGMA synchronous=OFF"};
}

void open_save_database()
{
    close_save_database();
    // Without the save database every tick's transaction would fail and be reported.
    if (sqlite3_open(SAVE_DB_PATH, &save_db) != SQLITE_OK)
    {
        sqlite3* pFailed = save_db;
        save_db = nullptr;
        exit_on_open_failure(pFailed, "WORLD::init", SAVE_DB_PATH);
    }
    // Only the current run is kept; a fresh file has no tables to drop.
    for (const char* sSql : SAVE_SCHEMA)
        exec_or_exit(save_db, "WORLD::init", SAVE_DB_PATH, "Can't write database", sSql);
}

void close_save_database()
{
    sqlite3_close(save_db);
    save_db = nullptr;
}
