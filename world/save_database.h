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
