#pragma once

#include <sqlite3.h>

#include <list>

#include "world/weather/weather_condition.h"

// The one connection to "./data/save_game.db"; opened by WORLD::init and kept open.
extern sqlite3* save_db;

// The rows of table wc of "./data/wc.db", in query order; filled by WORLD::init.
extern std::list<WEATHER_CONDITION*> weather_conditions;
