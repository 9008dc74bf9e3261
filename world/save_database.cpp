#include "world/save_database.h"

sqlite3* save_db = NULL;

std::list<WEATHER_CONDITION*> weather_conditions;
