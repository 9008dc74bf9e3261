#pragma once

// Shared by the save database and weather tests: a scratch run directory with its own
// data/wc.db, the world's (re)start and a query's rows as text.

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <vector>

#include "framework/run_files.h"
#include "tests/headless.h"
#include "world/save_database.h"
#include "world/world.h"

// A scratch working directory with data/ and, unless the SQL is empty, a data/wc.db made
// from it. The test runs inside it; the save database is closed on the way out.
class RUN_DIRECTORY
{
public:
    explicit RUN_DIRECTORY(const std::string& strWc_sql)
    {
        std::filesystem::create_directory("data");
        if (!strWc_sql.empty())
            make_database(WC_DB_PATH, strWc_sql);
    }
    ~RUN_DIRECTORY()
    {
        close_save_database();
    }
    RUN_DIRECTORY(const RUN_DIRECTORY&) = delete;
    RUN_DIRECTORY& operator=(const RUN_DIRECTORY&) = delete;

private:
    WORKING_DIRECTORY wdDir;
};

// The world's construction runs init; later starts run it again.
inline void start_world()
{
    static bool bBuilt = false;
    if (bBuilt)
        WORLD::instance()->init();
    else
    {
        bBuilt = true;
        WORLD::instance();
    }
}

// Every row of the query, its columns joined by '|', NULL as "NULL".
inline std::vector<std::string> rows(sqlite3* db, const char* sql)
{
    std::vector<std::string> v_Rows;
    auto callback = [](void* pRows, int argc, char** argv, char**) -> int {
        std::string strRow;
        for (int i = 0; i < argc; ++i)
            strRow += (i > 0 ? "|" : "") + std::string(argv[i] != nullptr ? argv[i] : "NULL");
        static_cast<std::vector<std::string>*>(pRows)->push_back(strRow);
        return 0;
    };
    char* zErrMsg = nullptr;
    int iResult = sqlite3_exec(db, sql, callback, &v_Rows, &zErrMsg);
    EXPECT_EQ(iResult, SQLITE_OK) << (zErrMsg != nullptr ? zErrMsg : "") << " in " << sql;
    sqlite3_free(zErrMsg);
    return v_Rows;
}
