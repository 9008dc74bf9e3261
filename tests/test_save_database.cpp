#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "framework/helpers.h"
#include "framework/random.h"
#include "framework/run_files.h"
#include "tests/headless.h"
#include "tests/save_fixture.h"
#include "world/planet/cell.h"
#include "world/save_database.h"
#include "world/weather/weather.h"
#include "world/weather/weather_condition.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace
{
const char* WC_COLUMNS = "CREATE TABLE wc(name text, amin int, amax int, bmin int, bmax int, "
                         "tmin int, tmax int, rule int, extra int";

// The conditions the chooser cases run against: disjoint A ranges, so each case fits at most
// one row, except Mist and Fog which overlap at A 75 to 80.
const std::string WC_SQL = std::string(WC_COLUMNS) + ");"
                           "INSERT INTO wc VALUES('Calm', 10, 20, 30, 40, 50, 60, 0, 7);"
                           "INSERT INTO wc VALUES('Dust', 21, 30, 0, 100, 0, 100, 1, 0);"
                           "INSERT INTO wc VALUES('Rain', 31, 40, 0, 100, 0, 100, 2, 0);"
                           "INSERT INTO wc VALUES('Never', 41, 50, 0, 100, 0, 100, 3, 0);"
                           "INSERT INTO wc VALUES('Frost', 51, 60, 0, 100, -5000, -100, 0, 0);"
                           "INSERT INTO wc VALUES('Hot', 61, 70, 0, 100, 0, 100, 0, 0);"
                           "INSERT INTO wc VALUES(NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL);"
                           "INSERT INTO wc VALUES('Mist', 71, 80, 0, 100, 0, 100, 0, 0);"
                           "INSERT INTO wc VALUES('Fog', 75, 85, 0, 100, 0, 100, 0, 0);";

std::string condition_text(const WEATHER_CONDITION* wcCondition)
{
    return wcCondition->sName + ":" + std::to_string(wcCondition->iA_min) + "," +
           std::to_string(wcCondition->iA_max) + "," + std::to_string(wcCondition->iB_min) + "," +
           std::to_string(wcCondition->iB_max) + "," + std::to_string(wcCondition->iT_min) + "," +
           std::to_string(wcCondition->iT_max) + "," + std::to_string(wcCondition->iRule) + "," +
           std::to_string(wcCondition->iExtra);
}
}

TEST(SaveDatabase, FirstStartCreatesTheThreeTablesWithoutMessages)
{
    RUN_DIRECTORY rdRun(WC_SQL);
    std::string strMessages = capture_messages([] { start_world(); });
    EXPECT_EQ(strMessages, "");

    EXPECT_EQ(rows(save_db, "SELECT sql FROM sqlite_master WHERE type = 'table' ORDER BY rowid"),
              (std::vector<std::string>{
                  "CREATE TABLE nodes(Node_ID int UNIQUE)",
                  "CREATE TABLE node_weather(Node_ID int, Day int, Date varchar(50), LowTemp int, HighTemp int)",
                  "CREATE TABLE quests(Quest_ID int UNIQUE, vcQuest varchar(20), vcLocked varchar(20))"}));
    EXPECT_EQ(rows(save_db, "PRAGMA synchronous"), std::vector<std::string>{"0"});
    EXPECT_TRUE(fs::is_regular_file(SAVE_DB_PATH));
}

TEST(SaveDatabase, SecondStartDropsTheRowsOfTheFirstRun)
{
    RUN_DIRECTORY rdRun(WC_SQL);
    start_world();
    exec_sql(save_db, "INSERT INTO nodes VALUES(1)");
    exec_sql(save_db, "INSERT INTO node_weather VALUES(1,345,'3/14/812',50,71)");
    exec_sql(save_db, "INSERT INTO quests VALUES(1,\"Here\",\"There\")");
    ASSERT_EQ(rows(save_db, "SELECT count(*) FROM node_weather"), std::vector<std::string>{"1"});

    std::string strMessages = capture_messages([] { start_world(); });
    EXPECT_EQ(strMessages, "");
    for (const char* sTable : {"nodes", "node_weather", "quests"})
        EXPECT_EQ(rows(save_db, (std::string("SELECT count(*) FROM ") + sTable).c_str()),
                  std::vector<std::string>{"0"})
            << sTable;
    // The UNIQUE ids of the first run are free again.
    strMessages = capture_messages([] {
        exec_sql(save_db, "INSERT INTO nodes VALUES(1)");
        exec_sql(save_db, "INSERT INTO quests VALUES(1,\"Here\",\"There\")");
    });
    EXPECT_EQ(strMessages, "");
    // A second start does not add the conditions twice.
    EXPECT_EQ(weather_conditions.size(), 9u);
}

namespace
{
// Bytes that are no database: a fixed noise, never SQLite's header.
std::string noise(size_t iSize)
{
    std::string sBytes;
    unsigned int uiState = 12345;
    for (size_t i = 0; i < iSize; ++i)
    {
        uiState = uiState * 1103515245 + 12345;
        sBytes += (char)(uiState >> 16);
    }
    return sBytes;
}

void write_bytes(const char* sPath, const std::string& sBytes)
{
    std::ofstream(sPath, std::ios::binary) << sBytes;
}

// A save database of an earlier run whose rows fill many pages, cut to its first pages.
void write_truncated_save(const char* sPath)
{
    std::string sSql = "BEGIN; CREATE TABLE nodes(Node_ID int UNIQUE);";
    for (int i = 0; i < 2000; ++i)
        sSql += "INSERT INTO nodes VALUES(" + std::to_string(i) + ");";
    make_database(sPath, sSql + "COMMIT;");
    fs::resize_file(sPath, 2 * 4096);
}

// Every database opens as on a read-only mount, where root is refused as well: the file
// opens for reading only and nothing can be written.
class READ_ONLY_FILES
{
public:
    READ_ONLY_FILES() : pReal(sqlite3_vfs_find(nullptr)), vfsRead_only(*pReal)
    {
        vfsRead_only.zName = "read_only_files";
        vfsRead_only.pAppData = pReal;
        vfsRead_only.xOpen = open_read_only;
        sqlite3_vfs_register(&vfsRead_only, 1);
    }
    ~READ_ONLY_FILES()
    {
        sqlite3_vfs_register(pReal, 1);
        sqlite3_vfs_unregister(&vfsRead_only);
    }
    READ_ONLY_FILES(const READ_ONLY_FILES&) = delete;
    READ_ONLY_FILES& operator=(const READ_ONLY_FILES&) = delete;

private:
    static int open_read_only(sqlite3_vfs* pVfs, const char* zName, sqlite3_file* pFile, int iFlags, int* pOut_flags)
    {
        sqlite3_vfs* pReal = static_cast<sqlite3_vfs*>(pVfs->pAppData);
        iFlags = (iFlags & ~(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)) | SQLITE_OPEN_READONLY;
        return pReal->xOpen(pReal, zName, pFile, iFlags, pOut_flags);
    }

    sqlite3_vfs* pReal;
    sqlite3_vfs vfsRead_only;
};

// A database file made unusable, and SQLite's error on it.
struct BROKEN_FILE
{
    const char* sLabel;
    std::function<void()> fSetup;
    const char* sError;
};

const char* SAVE_UNWRITABLE = "ERROR: WORLD::init: Can't write database: \\./data/save_game\\.db: ";
const char* WC_UNREADABLE = "ERROR: WORLD::init: Can't read database: \\./data/wc\\.db: ";
}

TEST(SaveDatabaseDeathTest, SaveFileTheTablesCannotBeMadeInEndsWithOneMessageAndCodeOne)
{
    // Left to play, each of these showed a box for every node and every day.
    const BROKEN_FILE a_Cases[] = {
        {"a view where a table goes",
         [] { make_database(SAVE_DB_PATH, "CREATE VIEW nodes AS SELECT 1 AS Node_ID;"); },
         "use DROP VIEW to delete view nodes"},
        {"random bytes", [] { write_bytes(SAVE_DB_PATH, noise(3000)); }, "file is not a database"},
        {"cut short", [] { write_truncated_save(SAVE_DB_PATH); }, "database disk image is malformed"},
    };
    for (const BROKEN_FILE& cCase : a_Cases)
    {
        RUN_DIRECTORY rdRun(WC_SQL);
        cCase.fSetup();
        EXPECT_EXIT_SAYING(start_world(), 1, std::string("^") + SAVE_UNWRITABLE + cCase.sError + "\n$")
            << cCase.sLabel;
    }
}

TEST(SaveDatabaseDeathTest, SaveFileThatCannotBeWrittenEndsWithOneMessageAndCodeOne)
{
    {
        // A save database of an earlier run on a read-only file system.
        RUN_DIRECTORY rdRun(WC_SQL);
        make_database(SAVE_DB_PATH, "CREATE TABLE nodes(Node_ID int UNIQUE);");
        READ_ONLY_FILES rofFiles;
        EXPECT_EXIT_SAYING(start_world(), 1,
                           std::string("^") + SAVE_UNWRITABLE + "attempt to write a readonly database\n$");
    }
    {
        // Another connection holds the file for writing.
        RUN_DIRECTORY rdRun(WC_SQL);
        sqlite3* dbOther = nullptr;
        ASSERT_EQ(sqlite3_open(SAVE_DB_PATH, &dbOther), SQLITE_OK);
        exec_sql(dbOther, "CREATE TABLE held(a); BEGIN EXCLUSIVE; INSERT INTO held VALUES(1)");
        EXPECT_EXIT_SAYING(start_world(), 1, std::string("^") + SAVE_UNWRITABLE + "database is locked\n$");
        sqlite3_close(dbOther);
    }
}

TEST(SaveDatabaseDeathTest, WcThatCannotBeReadEndsWithOneMessageAndCodeOne)
{
    // Left to play, the weather of every node showed a box that no condition was chosen.
    const BROKEN_FILE a_Cases[] = {
        {"random bytes", [] { write_bytes(WC_DB_PATH, noise(3000)); }, "file is not a database"},
        {"empty", [] { write_bytes(WC_DB_PATH, ""); }, "no such table: wc"},
        {"cut short", [] { fs::resize_file(WC_DB_PATH, 4096); }, "database disk image is malformed"},
        {"eight columns",
         [] {
             fs::remove(WC_DB_PATH);
             make_database(WC_DB_PATH, "CREATE TABLE wc(name text, amin int, amax int, bmin int, bmax int, "
                                       "tmin int, tmax int, rule int);"
                                       "INSERT INTO wc VALUES('Short', 1, 2, 3, 4, 5, 6, 0);");
         },
         "table wc has fewer than 9 columns"},
        {"no rows", [] { make_database(WC_DB_PATH, "DELETE FROM wc;"); }, "table wc holds no weather conditions"},
    };
    // Rows enough for pages beyond the first, so that a cut loses some.
    std::string sWc_sql = "BEGIN;" + WC_SQL;
    for (int i = 0; i < 300; ++i)
        sWc_sql += "INSERT INTO wc VALUES('Filler " + std::to_string(i) + "', 0, 0, 0, 0, 0, 0, 3, 0);";
    sWc_sql += "COMMIT;";
    for (const BROKEN_FILE& cCase : a_Cases)
    {
        RUN_DIRECTORY rdRun(sWc_sql);
        cCase.fSetup();
        EXPECT_EXIT_SAYING(start_world(), 1, std::string("^") + WC_UNREADABLE + cCase.sError + "\n$")
            << cCase.sLabel;
        // Nothing is made of the save database.
        EXPECT_FALSE(fs::exists(SAVE_DB_PATH)) << cCase.sLabel;
    }
}

TEST(SaveDatabase, ConditionsAreReadWithTheirOpenBounds)
{
    RUN_DIRECTORY rdRun(WC_SQL + "INSERT INTO wc VALUES('Cold', 1, 2, 3, 4, 0, -100, 0, 9);");
    start_world();
    std::vector<std::string> v_Read;
    for (const WEATHER_CONDITION* wcCondition : weather_conditions)
        v_Read.push_back(condition_text(wcCondition));
    EXPECT_EQ(v_Read, (std::vector<std::string>{
                          "Calm:10,20,30,40,50,60,0,7",
                          "Dust:21,30,0,100,-1000,1000,1,0",
                          "Rain:31,40,0,100,-1000,1000,2,0",
                          "Never:41,50,0,100,-1000,1000,3,0",
                          "Frost:51,60,0,100,-5000,-1000,0,0",
                          "Hot:61,70,0,100,-1000,1000,0,0",
                          ":0,0,0,0,-1000,0,0,0", // SQL NULL reads as empty text
                          "Mist:71,80,0,100,-1000,1000,0,0",
                          "Fog:75,85,0,100,-1000,1000,0,0",
                          "Cold:1,2,3,4,-1000,-1000,0,9",
                      }));
}

TEST(SaveDatabase, ExtraColumnsAreIgnored)
{
    RUN_DIRECTORY rdRun(std::string(WC_COLUMNS) + ", more text);"
                                                  "INSERT INTO wc VALUES('Wide', 1, 2, 3, 4, 5, 6, 0, 8, 'x');");
    EXPECT_EQ(capture_messages([] { start_world(); }), "");
    ASSERT_EQ(weather_conditions.size(), 1u);
    EXPECT_EQ(condition_text(weather_conditions.front()), "Wide:1,2,3,4,5,6,0,8");
}

TEST(SaveDatabaseDeathTest, MissingWcEndsWithCodeOneAndCreatesNoFile)
{
    RUN_DIRECTORY rdRun("");
    EXPECT_EXIT_SAYING(start_world(), 1,
                       "ERROR: WORLD::init: Can't open database: \\./data/wc\\.db: unable to open database "
                       "file");
    EXPECT_FALSE(fs::exists(WC_DB_PATH));
}

TEST(SaveDatabaseDeathTest, SaveGameThatWillNotOpenEndsWithCodeOne)
{
    RUN_DIRECTORY rdRun(WC_SQL);
    fs::create_directory(SAVE_DB_PATH);
    EXPECT_EXIT_SAYING(start_world(), 1,
                       "ERROR: WORLD::init: Can't open database: \\./data/save_game\\.db: unable to "
                       "open database file");
}

namespace
{
struct CHOICE_CASE
{
    float fA;
    float fB;
    float fTemperature;
    int iDesert; // -1 no cell, else the cell's desert flag
    const char* sExpected;
};

const CHOICE_CASE CHOICE_CASES[] = {
    {10, 30, 50, -1, "Calm"},   // every lower bound is inside
    {20, 40, 60, -1, "Calm"},   // every upper bound is inside
    {20.5f, 35, 55, -1, nullptr},  // A just above
    {15, 29.9f, 55, -1, nullptr},  // B just below
    {15, 35, 60.1f, -1, nullptr},  // temperature just above
    {25, 50, 0, 1, "Dust"},     // rule 1 on a desert
    {25, 50, 0, 0, nullptr},       // rule 1 off the desert
    {25, 50, 0, -1, nullptr},      // rule 1 without a cell
    {35, 50, 0, 0, "Rain"},     // rule 2 off the desert
    {35, 50, 0, -1, "Rain"},    // rule 2 without a cell
    {35, 50, 0, 1, nullptr},       // rule 2 on a desert
    {45, 50, 0, 1, nullptr},       // rule 3 never fits
    {45, 50, 0, 0, nullptr},
    {65, 50, -1000, -1, "Hot"}, // tmin 0 is -1000
    {65, 50, 1000, -1, "Hot"},  // tmax 100 is 1000
    {65, 50, 1000.5f, -1, nullptr},
    {55, 50, -1000, -1, "Frost"}, // tmax -100 is -1000
    {55, 50, -3000, -1, "Frost"},
    {55, 50, -999, -1, nullptr},
    {0, 0, -5, -1, ""},         // the all-NULL row
};
}

TEST(ChooseWeather, KeepsTheRowsWhoseRangesAndRuleFit)
{
    RUN_DIRECTORY rdRun(WC_SQL);
    start_world();
    CELL cCell{};
    for (const CHOICE_CASE& ccCase : CHOICE_CASES)
    {
        WEATHER wWeather(ccCase.fA, ccCase.fB, 0, nullptr);
        wWeather.set_temperature(ccCase.fTemperature);
        cCell.bDesert = ccCase.iDesert == 1;
        CELL* pCell = ccCase.iDesert == -1 ? nullptr : &cCell;

        random_seed(5);
        forget_shown_messages();
        std::string strChosen;
        std::string strMessages = capture_messages([&] { strChosen = WORLD::choose_weather(&wWeather, pCell); });
        std::string strCase = "A " + std::to_string(ccCase.fA) + " B " + std::to_string(ccCase.fB) + " T " +
                              std::to_string(ccCase.fTemperature) + " desert " + std::to_string(ccCase.iDesert);
        if (ccCase.sExpected != nullptr)
        {
            EXPECT_EQ(strChosen, ccCase.sExpected) << strCase;
            EXPECT_EQ(strMessages, "") << strCase;
            EXPECT_EQ(random_draw_count(), 1) << strCase;
        }
        else
        {
            EXPECT_EQ(strChosen, "Overcasted") << strCase;
            EXPECT_EQ(strMessages, "ERROR: No weather chosen from the world engine!") << strCase;
            EXPECT_EQ(random_draw_count(), 0) << strCase;
        }
    }
}

TEST(ChooseWeather, OneDrawPicksAmongTheFittingRowsInListOrder)
{
    RUN_DIRECTORY rdRun(WC_SQL);
    start_world();
    WEATHER wWeather(77, 50, 20, nullptr);
    // Mist and Fog both fit; the draw modulo 2 picks the index.
    for (unsigned int uiSeed = 0; uiSeed < 8; ++uiSeed)
    {
        random_seed(uiSeed);
        int iDraw = random_next();
        random_seed(uiSeed);
        std::string strChosen = WORLD::choose_weather(&wWeather, nullptr);
        EXPECT_EQ(strChosen, iDraw % 2 == 0 ? "Mist" : "Fog") << uiSeed;
        EXPECT_EQ(random_draw_count(), 1);
    }
}

TEST(ChooseWeather, NoFittingRowIsShownOnceAStart)
{
    // Shown for every node every day, it would bury the game under boxes.
    RUN_DIRECTORY rdRun(WC_SQL);
    WEATHER wWeather(50, 50, 5000, nullptr);
    for (int iStart = 0; iStart < 2; ++iStart)
    {
        start_world();
        for (int i = 0; i < 3; ++i)
        {
            std::string strChosen;
            EXPECT_EQ(capture_messages([&] { strChosen = WORLD::choose_weather(&wWeather, nullptr); }),
                      i == 0 ? "ERROR: No weather chosen from the world engine!" : "")
                << iStart << " " << i;
            EXPECT_EQ(strChosen, "Overcasted");
        }
    }
}
