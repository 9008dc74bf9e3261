#pragma once

#include <allegro.h>

#include <array>
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
// the save database and the weather conditions. Its methods live in world.cpp (generation,
// the tick, the frame, init), background.cpp, table_windows.cpp, weather/weather_condition.cpp
// (reading and choosing conditions) and map/quest.cpp (the quest generator).
class WORLD
{
public:
    static WORLD* instance();

    // Builds the planet, the map, the blurred background and the first quests. Once.
    void generate();
    // One logic tick: the open windows or else the maps and the right button; then the
    // S, W and Q keys toggle their windows.
    void update();
    // Background, maps, quest panel, windows (the first opened on top) and status bar.
    void draw(BITMAP* target);
    // Clears the target and draws the background where the camera needs it: at world x 0
    // and on the side the camera leans to, or on both sides while zoomed out below 1.
    void draw_background(BITMAP* target, int iWidth, int iHeight);
    // Deletes every open window whose table is sName.
    void close_windows(const char* sName);
    // Runs the statement on every open window whose table is sName.
    void exec_on_windows(const char* sName, const char* sSql);
    bool is_generated() const { return bGenerated; }

    // The 1024 x 768 background blurred from the planet picture (steps of generate, kept
    // apart for the tests and the benchmarks); replaces any earlier one.
    void make_background(BITMAP* bmpPlanet_image);
    BITMAP* get_background() { return bmpBackground; }
    // Every pixel of scratch, jittered, as a disc of radius 2 blended at alpha 80 onto
    // background (x outer, y inner), with circlefill in the translucent mode of alpha 80.
    static void blur_by_discs(BITMAP* bmpScratch, BITMAP* bmpBackground);
    // The same pixels, written straight into 32-bit lines with the library's own blend, each
    // pixel taking its discs' blends in their order: a fraction of the time. Other depths go
    // through blur_by_discs.
    static void blur(BITMAP* bmpScratch, BITMAP* bmpBackground);
    // The colour of the channels, each moved by random_next() % 3 - random_next() % 3 (red,
    // green, blue, two draws each) and kept within 0..255.
    static int jitter_colour(int iRed, int iGreen, int iBlue);

    const std::list<SCROLL_WINDOW*>& get_windows() const { return l_Windows; }

    // Loads the weather conditions of the weather database (WC_DB_PATH) and re-creates the
    // tables of the save database (SAVE_DB_PATH). Ends the process when either database will
    // not open, table wc cannot be read whole or the save tables cannot be made.
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

    // What tells the three table windows apart: size, title, columns, table, how the window
    // gets its rows (false when it cannot: the window then stays closed), and what closing it
    // runs first.
    struct TABLE_WINDOW
    {
        struct COLUMN
        {
            const char* sTitle; // null: no column
            int iX_offset;
        };
        int iWidth;
        int iHeight;
        const char* sTitle;
        std::array<COLUMN, 3> a_Columns;
        const char* sTable;
        const char* sOrder_by;
        bool (WORLD::*pPrepare)(SCROLL_WINDOW* swWindow);
        const char* sClose_sql;
    };
    static const TABLE_WINDOW POPULATION_CHART;
    static const TABLE_WINDOW RECENT_WEATHER;
    static const TABLE_WINDOW QUESTS;

    // A key toggles its window once per press, however long it is held.
    void handle_window_key(int iKey, bool& bLatch, const TABLE_WINDOW& twWindow, bool& bOpen);
    void toggle_window(const TABLE_WINDOW& twWindow, bool& bOpen);
    // Builds the chart's table in the window's scratch database. The first statement that
    // fails is reported, naming the file, and ends the filling: false.
    bool fill_population_chart(SCROLL_WINDOW* swChart);
    bool query_recent_weather(SCROLL_WINDOW* swWeather);
    bool query_quests(SCROLL_WINDOW* swQuests);
    void draw_quest_panel(BITMAP* target);
    void draw_status_bar(BITMAP* target);

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
