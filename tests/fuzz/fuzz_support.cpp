#include "tests/fuzz/fuzz_support.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "framework/headless.h"

namespace
{
std::string s_sDir;
std::string s_sDb;

void remove_dir()
{
    std::error_code ec;
    std::filesystem::remove_all(s_sDir, ec);
}
}

void fuzz_start()
{
    if (!s_sDir.empty())
        return;
    start_headless_allegro();
    if (!std::freopen("/dev/null", "w", stdout))
        std::abort();
    s_sDir = (std::filesystem::temp_directory_path() / ("orv_fuzz_" + std::to_string(getpid())))
                 .string();
    std::filesystem::create_directories(s_sDir);
    std::atexit(remove_dir);
    if (chdir(s_sDir.c_str()) != 0)
        std::abort();

    std::ifstream in(std::string(ORV_TEST_DATA) + "/words/places.sql");
    std::stringstream ss;
    ss << in.rdbuf();
    s_sDb = s_sDir + "/places.db";
    sqlite3* db = nullptr;
    if (sqlite3_open(s_sDb.c_str(), &db) != SQLITE_OK ||
        sqlite3_exec(db, ss.str().c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        std::abort();
    sqlite3_close(db);
}

const std::string& fuzz_dir()
{
    return s_sDir;
}

std::string fuzz_write_input(const char* sName, const uint8_t* data, size_t size)
{
    const std::string sPath = s_sDir + "/" + sName;
    std::ofstream out(sPath, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return sPath;
}

const char* fuzz_words_db()
{
    return s_sDb.c_str();
}
