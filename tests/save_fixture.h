#pragma once

// Shared by the save database and weather tests: a scratch run directory with its own
// data/wc.db, the world's (re)start and a query's rows as text.

#include <gtest/gtest.h>

#include <sqlite3.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "world/save_database.h"
#include "world/world.h"

inline void make_database(const std::filesystem::path& path, const std::string& strSql)
{
    sqlite3* db = NULL;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    char* zErrMsg = NULL;
    int iResult = sqlite3_exec(db, strSql.c_str(), NULL, NULL, &zErrMsg);
    std::string strError = zErrMsg != NULL ? zErrMsg : "";
    sqlite3_free(zErrMsg);
    sqlite3_close(db);
    ASSERT_EQ(iResult, SQLITE_OK) << strError;
}

// A scratch working directory with data/ and, unless the SQL is empty, a data/wc.db made
// from it. The test runs inside it; the save database is closed on the way out.
class RUN_DIRECTORY
{
public:
    explicit RUN_DIRECTORY(const std::string& strWc_sql)
    {
        char sOld[PATH_MAX];
        EXPECT_NE(getcwd(sOld, sizeof sOld), nullptr);
        pathOld = sOld;
        char sTemplate[] = "/tmp/orv_run_XXXXXX";
        EXPECT_NE(mkdtemp(sTemplate), nullptr);
        pathDir = sTemplate;
        std::filesystem::create_directory(pathDir / "data");
        if (!strWc_sql.empty())
            make_database(pathDir / "data" / "wc.db", strWc_sql);
        EXPECT_EQ(chdir(pathDir.c_str()), 0);
    }
    ~RUN_DIRECTORY()
    {
        sqlite3_close(save_db);
        save_db = NULL;
        EXPECT_EQ(chdir(pathOld.c_str()), 0);
        std::filesystem::remove_all(pathDir);
    }
    RUN_DIRECTORY(const RUN_DIRECTORY&) = delete;
    RUN_DIRECTORY& operator=(const RUN_DIRECTORY&) = delete;

    std::filesystem::path pathOld;
    std::filesystem::path pathDir;
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
            strRow += (i > 0 ? "|" : "") + std::string(argv[i] != NULL ? argv[i] : "NULL");
        static_cast<std::vector<std::string>*>(pRows)->push_back(strRow);
        return 0;
    };
    char* zErrMsg = NULL;
    int iResult = sqlite3_exec(db, sql, callback, &v_Rows, &zErrMsg);
    EXPECT_EQ(iResult, SQLITE_OK) << (zErrMsg != NULL ? zErrMsg : "") << " in " << sql;
    sqlite3_free(zErrMsg);
    return v_Rows;
}
