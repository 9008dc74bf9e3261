#pragma once

#include <sqlite3.h>

// The one connection to the save database (SAVE_DB_PATH); opened by WORLD::init and kept open.
extern sqlite3* save_db;

// Closes any earlier connection, opens the save database and makes its tables anew, so that
// the file holds only this run. Ends the process, naming the file, when it will not open or
// its tables cannot be made.
void open_save_database();
// Closes the connection; save_db is null afterwards.
void close_save_database();

// Runs one start-up statement on a database the game cannot play without (db, opened from
// sPath). A failure ends the start with the file named, as a file that will not open does:
// left to play, every node and every day would show a box of its own. fRow gets the rows;
// when it aborts the query, sAbort_error is the reason given.
void exec_or_exit(sqlite3*& db, const char* sPath, const char* sWhat, const char* sSql,
                  int (*fRow)(void*, int, char**, char**) = nullptr, const char* sAbort_error = nullptr);
