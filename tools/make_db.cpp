// Builds an SQLite database from an SQL script: make_db OUTPUT.db INPUT.sql
// The output is made anew, so a rebuild never keeps rows of an older script.
#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: %s OUTPUT.db INPUT.sql\n", argv[0]);
        return 2;
    }
    std::ifstream fs_Read(argv[2], std::ios::binary);
    if (!fs_Read)
    {
        std::fprintf(stderr, "make_db: cannot read %s\n", argv[2]);
        return 1;
    }
    std::ostringstream ssScript;
    ssScript << fs_Read.rdbuf();

    // Build beside the target and rename, so a failed script leaves no half-made database.
    const std::string sTemp = std::string(argv[1]) + ".tmp";
    std::remove(sTemp.c_str());
    sqlite3* db = nullptr;
    if (sqlite3_open(sTemp.c_str(), &db) != SQLITE_OK)
    {
        std::fprintf(stderr, "make_db: cannot create %s: %s\n", sTemp.c_str(), db ? sqlite3_errmsg(db) : "no memory");
        sqlite3_close(db);
        return 1;
    }
    char* zErrMsg = nullptr;
    const std::string sWrapped = "BEGIN;\n" + ssScript.str() + "\nCOMMIT;\n";
    if (sqlite3_exec(db, sWrapped.c_str(), nullptr, nullptr, &zErrMsg) != SQLITE_OK)
    {
        std::fprintf(stderr, "make_db: %s: %s\n", argv[2], zErrMsg ? zErrMsg : sqlite3_errmsg(db));
        sqlite3_free(zErrMsg);
        sqlite3_close(db);
        std::remove(sTemp.c_str());
        return 1;
    }
    sqlite3_close(db);
    if (std::rename(sTemp.c_str(), argv[1]) != 0)
    {
        std::fprintf(stderr, "make_db: cannot write %s\n", argv[1]);
        std::remove(sTemp.c_str());
        return 1;
    }
    return 0;
}
