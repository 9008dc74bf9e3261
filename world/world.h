#pragma once

#include <allegro.h>

#include <list>
#include <string>

#include "world/weather/weather_condition.h"

class SCROLL_WINDOW;
class EDGE;
class MAP;
class NODE;
class PLANET;
class TRAVELLER;
class WEATHER;
struct CELL;
struct QUEST;

// The one world: maps, quests, table windows and the background, plus the start-up work on
// the save database and the weather conditions.
class WORLD
{
public:
    static WORLD* instance();

    // Loads the weather conditions of "./data/wc.db" and re-creates the tables of
    // "./data/save_game.db". Ends the process when either database will not open.
    void init();

    // sqlite3_exec row callback for "SELECT * FROM wc".
    static int load_weather_condition(void* pUnused, int argc, char** argv, char** azColName);
    static void add_weather_condition(WEATHER_CONDITION* wcCondition);

    // A random condition among those whose ranges fit the weather and whose rule fits the
    // cell (none: not desert); "Overcasted" when nothing fits.
    static std::string choose_weather(WEATHER* pWeather, CELL* pCell);

    // The planet while the world is generated; null before and after.
    PLANET* get_planet() { return pPlanet; }
    void set_planet(PLANET* planet) { pPlanet = planet; }
    // The player's token; the map owns it.
    void set_player(TRAVELLER* traveller) { pTraveller = traveller; }
    // False while there is no token.
    bool is_player_moving();

    // The maps, owned; the first is the one played.
    std::list<MAP*>& get_maps() { return l_Maps; }

    // Open quests, oldest first: a copy holding the same records.
    std::list<QUEST*> get_quests() { return l_Quests; }
    // The same without a copy, for the check that every node makes every tick.
    const std::list<QUEST*>& open_quests() const { return l_Quests; }
    void set_quests(std::list<QUEST*> l_New) { l_Quests = l_New; }
    // A quest for the locked edge E behind which S, the player's node, reveals L: a
    // destination near L's rank, preferably far away, its panel message and its row.
    void make_quest(NODE* L, NODE* S, EDGE* E);

    // Lines of the quest panel, oldest first; the world owns and frees them.
    void add_message(std::string* sMessage) { l_Messages.push_back(sMessage); }
    const std::list<std::string*>& get_messages() const { return l_Messages; }
    void clear_messages();

private:
    WORLD();
    ~WORLD();
    WORLD(const WORLD&) = delete;
    WORLD& operator=(const WORLD&) = delete;

    std::list<SCROLL_WINDOW*> l_Windows;
    std::list<MAP*> l_Maps;
    std::list<QUEST*> l_Quests;
    std::list<std::string*> l_Messages;
    PLANET* pPlanet;
    BITMAP* bmpBackground;
    TRAVELLER* pTraveller;
    bool bGenerated;
    bool bKey_s;
    bool bKey_w;
    bool bKey_q;
    bool bPopulation_open;
    bool bWeather_open;
    bool bQuests_open;
};
