#include "world/save_database.h"

#include "framework/helpers.h"

sqlite3* save_db = nullptr;

std::list<WEATHER_CONDITION*> weather_conditions;

namespace
{
// The list lives until the process ends; its conditions go with it. Defined after the list,
// so it runs first at exit.
struct RELEASE_CONDITIONS
{
    ~RELEASE_CONDITIONS() { delete_all(weather_conditions); }
} release_conditions;
}
