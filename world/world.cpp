#include "world/world.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/camera.h"
#include "framework/colours.h"
#include "framework/helpers.h"
#include "framework/random.h"
#include "framework/screen_layout.h"
#include "framework/scroll_window.h"
#include "world/game.h"
#include "world/geometry.h"
#include "world/map/map.h"
#include "world/map/node.h"
#include "world/map/quest.h"
#include "world/map/traveller.h"
#include "world/planet/cell.h"
#include "world/planet/planet.h"
#include "world/save_database.h"
#include "world/weather/weather.h"

namespace
{
const int BACKGROUND_WIDTH = 1024;
const int BACKGROUND_HEIGHT = 768;
const int BLUR_ALPHA = 80;

// Allegro's truecolour translucency at alpha 80, the blender that set_trans_blender installs
// for 24 and 32 bits, as circlefill applies it in DRAW_MODE_TRANS: x the colour drawn, y the
// pixel under it. The library works in unsigned long; red and blue share the word, and a
// negative difference wraps. Only the bits below 24 are kept, and those come out the same in
// 32-bit arithmetic.
inline std::uint32_t trans_blend_32(std::uint32_t x, std::uint32_t y)
{
    const std::uint32_t n = BLUR_ALPHA + 1;
    std::uint32_t res = ((x & 0xFF00FF) - (y & 0xFF00FF)) * n / 256 + y;
    std::uint32_t g = ((x & 0xFF00) - (y & 0xFF00)) * n / 256 + (y & 0xFF00);
    return (res & 0xFF00FF) | (g & 0xFF00);
}

// The discs of radius 2 whose circlefill covers a pixel, as offsets of their centres from it,
// in the order they are drawn (x, then y): the rows y - 2 and y + 2 of a disc reach 1 pixel
// to either side, the three rows between 2.
struct DISC_OFFSET
{
    int dx;
    int dy;
};
const DISC_OFFSET DISCS_OVER_A_PIXEL[] = {
    {-2, -1}, {-2, 0}, {-2, 1},                    //
    {-1, -2}, {-1, -1}, {-1, 0}, {-1, 1}, {-1, 2}, //
    {0, -2},  {0, -1},  {0, 0},  {0, 1},  {0, 2},  //
    {1, -2},  {1, -1},  {1, 0},  {1, 1},  {1, 2},  //
    {2, -1},  {2, 0},   {2, 1}};

const char* WC_PATH = "./data/wc.db";
const char* SAVE_PATH = "./data/save_game.db";
// What every start makes of the save database, in order.
const char* const SAVE_SCHEMA[] = {
    "DROP TABLE IF EXISTS nodes",
    "DROP TABLE IF EXISTS node_weather",
    "DROP TABLE IF EXISTS quests",
    "CREATE TABLE nodes(Node_ID int UNIQUE)",
    "CREATE TABLE node_weather(Node_ID int, Day int, Date varchar(50), LowTemp int, HighTemp int)",
    "CREATE TABLE quests(Quest_ID int UNIQUE, vcQuest varchar(20), vcLocked varchar(20))",
    "PRAGMA synchronous=OFF"};

// Runs a start-up statement on a database the game cannot play without. A failure (not a
// database, read-only, a full disk) ends the start with the file named, as a file that will
// not open does: left to play, every node and every day would show a box of its own. Only
// the wc row reader aborts a query, on a row too short.
void exec_or_exit(sqlite3*& db, const char* sPath, const char* sWhat, const char* sSql,
                  int (*fRow)(void*, int, char**, char**) = nullptr)
{
    char* zErrMsg = nullptr;
    const int iResult = sqlite3_exec(db, sSql, fRow, nullptr, &zErrMsg);
    if (iResult == SQLITE_OK)
        return;
    const std::string sError =
        iResult == SQLITE_ABORT ? "table wc has fewer than 9 columns" : sql_error_text(db, zErrMsg);
    sqlite3_free(zErrMsg);
    sqlite3* pFailed = db;
    db = nullptr;
    exit_on_database_failure(pFailed, "WORLD::init", sWhat, sPath, sError);
}
}

// The three table windows the S, W and Q keys toggle. Column titles are kept by pointer.
const WORLD::TABLE_WINDOW WORLD::POPULATION_CHART = {
    400, 300, "Population Chart", {{{"Town", 0}, {"Population", 200}, {nullptr, 0}}},
    "settlement_window", "Population", &WORLD::fill_population_chart, "DROP TABLE settlement_window"};
const WORLD::TABLE_WINDOW WORLD::RECENT_WEATHER = {
    200, 100, "Recent Weather", {{{"Date", 0}, {"Low", 100}, {"High", 150}}},
    "node_weather", nullptr, &WORLD::query_recent_weather, nullptr};
const WORLD::TABLE_WINDOW WORLD::QUESTS = {
    450, 300, "Quests", {{{"Destination", 0}, {"Unlocks", 225}, {nullptr, 0}}},
    "quests", nullptr, &WORLD::query_quests, nullptr};

WORLD* WORLD::instance()
{
    static WORLD* pWorld = new WORLD();
    return pWorld;
}

WORLD::WORLD()
    : pPlanet(nullptr),
      bmpBackground(nullptr),
      pTraveller(nullptr),
      bGenerated(false)
{
    init();
}

WORLD::~WORLD()
{
    delete_all(l_Maps);
    delete_all(l_Quests);
    delete_all(l_Windows);
    delete_all(weather_conditions);
    clear_messages();
    destroy_bitmap_if(bmpBackground);
    sqlite3_close(save_db);
    save_db = nullptr;
}

bool WORLD::is_player_moving()
{
    return pTraveller != nullptr && pTraveller->is_moving();
}

void WORLD::clear_messages()
{
    delete_all(l_Messages);
}

void WORLD::generate()
{
    MAP* mNew_Map = new MAP();
    pPlanet = new PLANET();
    pPlanet->create_bitmaps();
    pPlanet->generate(500, 300);
    pPlanet->render(WORLD_WIDTH, WORLD_HEIGHT);
    mNew_Map->generate(pPlanet, GAME::node_count());

    make_background(pPlanet->get_image());
    show_progress(10, 250, YELLOW, "Freeing Planet Memory");
    delete pPlanet;
    pPlanet = nullptr;
    bGenerated = true;

    // First in the list before the first quests: their search walks the first map.
    l_Maps.push_front(mNew_Map);
    if (mNew_Map->nPlayer_node != nullptr)
        mNew_Map->nPlayer_node->reveal_neighbours();
}

int WORLD::jitter_colour(int iRed, int iGreen, int iBlue)
{
    // One draw a local, in order: the first of each pair is added, the second subtracted.
    int iR_plus = random_next() % 3;
    int iR_minus = random_next() % 3;
    int iG_plus = random_next() % 3;
    int iG_minus = random_next() % 3;
    int iB_plus = random_next() % 3;
    int iB_minus = random_next() % 3;
    return make_colour(std::clamp(iRed + iR_plus - iR_minus, 0, 255), std::clamp(iGreen + iG_plus - iG_minus, 0, 255),
                       std::clamp(iBlue + iB_plus - iB_minus, 0, 255));
}

void WORLD::blur_by_discs(BITMAP* bmpScratch, BITMAP* bmpTarget)
{
    for (int x = 0; x < bmpScratch->w; x++)
        for (int y = 0; y < bmpScratch->h; y++)
        {
            const int iColour = getpixel(bmpScratch, x, y);
            circlefill(bmpTarget, x, y, 2, jitter_colour(getr(iColour), getg(iColour), getb(iColour)));
        }
}

void WORLD::blur(BITMAP* bmpScratch, BITMAP* bmpTarget)
{
    if (!is_direct(bmpScratch) || !is_direct(bmpTarget))
    {
        blur_by_discs(bmpScratch, bmpTarget);
        return;
    }
    // The jittered colours first, in the order of their draws.
    const int iWidth = bmpScratch->w;
    const int iHeight = bmpScratch->h;
    std::vector<std::uint32_t> v_Colours((size_t)iWidth * iHeight);
    for (int x = 0; x < iWidth; x++)
        for (int y = 0; y < iHeight; y++)
        {
            const int iColour = (int)pixel_line(bmpScratch, y)[x];
            v_Colours[(size_t)y * iWidth + x] = (std::uint32_t)jitter_colour(getr32(iColour), getg32(iColour), getb32(iColour));
        }

    // Then each target pixel takes the blends of the discs over it in the order the discs are
    // drawn, so pixels need not wait on each other: eight at a time inside the picture.
    const int iLeft = std::max(bmpTarget->cl, -2);
    const int iRight = std::min(bmpTarget->cr - 1, iWidth + 1);
    const int iTop = std::max(bmpTarget->ct, -2);
    const int iBottom = std::min(bmpTarget->cb - 1, iHeight + 1);
    const int BLOCK = 8;
    for (int py = iTop; py <= iBottom; py++)
    {
        std::uint32_t* pLine = pixel_line(bmpTarget, py);
        const bool bRow_inside = py >= 2 && py <= iHeight - 3;
        int px = iLeft;
        while (px <= iRight)
        {
            if (bRow_inside && px >= 2 && px + BLOCK - 1 <= std::min(iRight, iWidth - 3))
            {
                std::uint32_t a_Pixels[BLOCK];
                for (int k = 0; k < BLOCK; k++)
                    a_Pixels[k] = pLine[px + k];
                for (const DISC_OFFSET& o : DISCS_OVER_A_PIXEL)
                {
                    const std::uint32_t* pColours = &v_Colours[(size_t)(py + o.dy) * iWidth + px + o.dx];
                    for (int k = 0; k < BLOCK; k++)
                        a_Pixels[k] = trans_blend_32(pColours[k], a_Pixels[k]);
                }
                for (int k = 0; k < BLOCK; k++)
                    pLine[px + k] = a_Pixels[k];
                px += BLOCK;
                continue;
            }
            std::uint32_t iPixel = pLine[px];
            for (const DISC_OFFSET& o : DISCS_OVER_A_PIXEL)
            {
                const int x = px + o.dx;
                const int y = py + o.dy;
                if (x >= 0 && x < iWidth && y >= 0 && y < iHeight)
                    iPixel = trans_blend_32(v_Colours[(size_t)y * iWidth + x], iPixel);
            }
            pLine[px] = iPixel;
            px++;
        }
    }
}

void WORLD::make_background(BITMAP* bmpPlanet_image)
{
    BITMAP* bmpScratch = create_bitmap_or_die(BACKGROUND_WIDTH, BACKGROUND_HEIGHT);
    destroy_bitmap_if(bmpBackground);
    bmpBackground = create_bitmap_or_die(BACKGROUND_WIDTH, BACKGROUND_HEIGHT);
    clear_bitmap(bmpBackground);
    stretch_blit(bmpPlanet_image, bmpScratch, 0, 0, bmpPlanet_image->w, bmpPlanet_image->h, 0, 0,
                 BACKGROUND_WIDTH, BACKGROUND_HEIGHT);
    set_trans_blender(0, 0, 0, BLUR_ALPHA);
    drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
    show_progress(10, 170, WHITE, "Blurring LOD");
    blur(bmpScratch, bmpBackground);
    solid_mode();
    destroy_bitmap(bmpScratch);
}

void WORLD::update()
{
    if (!l_Windows.empty())
    {
        // A window open pauses the map: no clicks, no travel, no clearing.
        for (SCROLL_WINDOW* swWindow : l_Windows)
            swWindow->update();
    }
    else
    {
        for (MAP* mMap : l_Maps)
            mMap->update();
        if (mouse_b & 2)
            clear_messages();
    }
    handle_window_key(KEY_S, bKey_s, POPULATION_CHART, bPopulation_open);
    handle_window_key(KEY_W, bKey_w, RECENT_WEATHER, bWeather_open);
    handle_window_key(KEY_Q, bKey_q, QUESTS, bQuests_open);
}

void WORLD::handle_window_key(int iKey, bool& bLatch, const TABLE_WINDOW& twWindow, bool& bOpen)
{
    if (!key[iKey])
    {
        bLatch = false;
        return;
    }
    if (bLatch)
        return;
    toggle_window(twWindow, bOpen);
    bLatch = true;
}

void WORLD::toggle_window(const TABLE_WINDOW& twWindow, bool& bOpen)
{
    if (bOpen)
    {
        bOpen = false;
        if (twWindow.sClose_sql != nullptr)
            exec_on_windows(twWindow.sTable, twWindow.sClose_sql);
        close_windows(twWindow.sTable);
        return;
    }
    SCROLL_WINDOW* swWindow = new SCROLL_WINDOW(twWindow.iWidth, twWindow.iHeight);
    swWindow->set_title(twWindow.sTitle);
    for (const TABLE_WINDOW::COLUMN& c : twWindow.a_Columns)
        if (c.sTitle != nullptr)
            swWindow->add_column(c.sTitle, c.iX_offset);
    (this->*twWindow.pPrepare)(swWindow);
    swWindow->set_table(twWindow.sTable, twWindow.sOrder_by);
    swWindow->toggle_visible();
    l_Windows.push_back(swWindow);
    bOpen = true;
}

void WORLD::fill_population_chart(SCROLL_WINDOW* swChart)
{
    // A run that ended with the chart open left its table behind, with the old towns in it.
    swChart->exec("DROP TABLE IF EXISTS settlement_window");
    swChart->exec("CREATE TABLE settlement_window(Town char(100), Population long)");
    if (l_Maps.empty())
        return;
    // One transaction, so that a big map's towns go in without a disk sync each.
    swChart->exec("BEGIN");
    for (NODE* n : l_Maps.front()->get_nodes())
    {
        if (!n->is_settlement())
            continue;
        std::string strSql = "INSERT into settlement_window values(" + sql_quote(*n->get_location()) + ", " +
                             sql_quote(std::to_string(n->get_population())) + ")";
        swChart->exec(strSql.c_str());
    }
    swChart->exec("COMMIT");
}

void WORLD::query_recent_weather(SCROLL_WINDOW* swWeather)
{
    swWeather->open_database("./data/save_game.db");
    // The node is the one the token stood at when the window opened.
    int iNode_id = pTraveller != nullptr ? pTraveller->current_node_id() : -1;
    std::string strQuery = "SELECT Date, LowTemp, HighTemp FROM node_weather WHERE Node_ID = " +
                           sql_quote(std::to_string(iNode_id)) + " ORDER BY Day DESC";
    swWeather->set_query(strQuery.c_str());
}

void WORLD::query_quests(SCROLL_WINDOW* swQuests)
{
    swQuests->open_database("./data/save_game.db");
    swQuests->set_query("SELECT vcQuest, vcLocked FROM quests ORDER BY Quest_ID");
}

void WORLD::close_windows(const char* sName)
{
    for (auto it = l_Windows.begin(); it != l_Windows.end();)
    {
        if (std::string((*it)->get_table()) == sName)
        {
            delete *it;
            it = l_Windows.erase(it);
        }
        else
            ++it;
    }
}

void WORLD::exec_on_windows(const char* sName, const char* sSql)
{
    for (SCROLL_WINDOW* swWindow : l_Windows)
        if (std::string(swWindow->get_table()) == sName)
            swWindow->exec(sSql);
}

void WORLD::draw(BITMAP* target)
{
    if (bGenerated)
        draw_background(target, WORLD_WIDTH, WORLD_HEIGHT);
    for (MAP* mMap : l_Maps)
        mMap->draw(target);
    if (!l_Messages.empty())
        draw_quest_panel(target);
    // The window opened first lies on top.
    for (auto it = l_Windows.rbegin(); it != l_Windows.rend(); ++it)
        (*it)->draw(target);
    draw_status_bar(target);
}

void WORLD::draw_quest_panel(BITMAP* target)
{
    int y = 25;
    int n = (int)l_Messages.size();
    // The box grows by 15 a message while the lines advance by 10.
    set_trans_blender(0, 0, 0, 128);
    drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
    rectfill(target, 50, y - 20, 590, y + 15 * (n + 1), DARK_BLUE);
    solid_mode();
    rect(target, 50, y - 20, 590, y + 15 * (n + 1), WHITE);
    textprintf_centre_ex(target, font, SCREEN_CENTRE_X, y - 15, WHITE, -1, "QUESTS");
    for (std::string* sMessage : l_Messages)
    {
        textprintf_centre_ex(target, font, SCREEN_CENTRE_X - 1, y - 1, BLACK, -1, "%s", sMessage->c_str());
        textprintf_centre_ex(target, font, SCREEN_CENTRE_X + 1, y + 1, BLACK, -1, "%s", sMessage->c_str());
        textprintf_centre_ex(target, font, SCREEN_CENTRE_X, y, YELLOW, -1, "%s", sMessage->c_str());
        y += 10;
    }
    textprintf_centre_ex(target, font, SCREEN_CENTRE_X, y + 5, WHITE, -1, "Right click to clear messages.");
}

void WORLD::draw_status_bar(BITMAP* target)
{
    set_trans_blender(0, 0, 0, 230);
    drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
    rectfill(target, 0, 440, SCREEN_WIDTH, SCREEN_HEIGHT, OLIVE_DRAB);
    line(target, 0, 440, SCREEN_WIDTH, 440, DARK_KHAKI);
    solid_mode();
    if (pTraveller != nullptr)
        pTraveller->draw_status(target, 5.0f, 445.0f, l_Maps.empty() ? nullptr : l_Maps.front());
}

void WORLD::draw_background(BITMAP* target, int iWidth, int iHeight)
{
    CAMERA* c = CAMERA::current();
    float d = c->get_x() - WORLD_WIDTH / 2;
    clear_bitmap(target);
    bool bZoomed_out = c->get_zoom() < 1;
    auto copy_at = [&](float X) {
        stretch_blit(bmpBackground, target, 0, 0, BACKGROUND_WIDTH, BACKGROUND_HEIGHT,
                     (int)c->world_to_screen_x(X), (int)c->world_to_screen_y(0),
                     (int)c->scale_length_x(iWidth), (int)c->scale_length_y(iHeight));
    };
    if (d < 0 || bZoomed_out)
        copy_at(-WORLD_WIDTH);
    copy_at(0);
    if (d >= 0 || bZoomed_out)
        copy_at(WORLD_WIDTH);
}

void WORLD::init()
{
    pPlanet = nullptr;
    bKey_s = false;
    bPopulation_open = false;
    bKey_w = false;
    bWeather_open = false;
    bKey_q = false;
    bQuests_open = false;

    // wc.db is an input: read-only, so a missing file is an error and not a new empty one.
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(WC_PATH, &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        exit_on_open_failure(db, "WORLD::init", WC_PATH);

    // A second start reads the table afresh instead of adding to the old rows.
    delete_all(weather_conditions);
    exec_or_exit(db, WC_PATH, "Can't read database", "SELECT * FROM wc", WORLD::load_weather_condition);
    // Without a condition every node's weather would report that none was chosen.
    if (weather_conditions.empty())
        exit_on_database_failure(db, "WORLD::init", "Can't read database", WC_PATH,
                                 "table wc holds no weather conditions");
    sqlite3_close(db);

    sqlite3_close(save_db);
    save_db = nullptr;
    forget_shown_messages();
    // Without the save database every tick's transaction would fail and be reported.
    if (sqlite3_open(SAVE_PATH, &save_db) != SQLITE_OK)
    {
        sqlite3* pFailed = save_db;
        save_db = nullptr;
        exit_on_open_failure(pFailed, "WORLD::init", SAVE_PATH);
    }
    // Only the current run is kept; a fresh file has no tables to drop.
    for (const char* sSql : SAVE_SCHEMA)
        exec_or_exit(save_db, SAVE_PATH, "Can't write database", sSql);
}

int WORLD::load_weather_condition(void*, int argc, char** argv, char**)
{
    if (argc < 9)
        return 1;

    WEATHER_CONDITION* wcCondition = new WEATHER_CONDITION();
    wcCondition->sName = column_text(argc, argv, 0);
    wcCondition->iA_min = std::atoi(column_text(argc, argv, 1));
    wcCondition->iA_max = std::atoi(column_text(argc, argv, 2));
    wcCondition->iB_min = std::atoi(column_text(argc, argv, 3));
    wcCondition->iB_max = std::atoi(column_text(argc, argv, 4));
    wcCondition->iT_min = std::atoi(column_text(argc, argv, 5));
    wcCondition->iT_max = std::atoi(column_text(argc, argv, 6));
    // 0 and +-100 in the table stand for "no bound".
    if (wcCondition->iT_min == 0)
        wcCondition->iT_min = -1000;
    if (std::abs(wcCondition->iT_max) == 100)
        wcCondition->iT_max *= 10;
    wcCondition->iRule = std::atoi(column_text(argc, argv, 7));
    wcCondition->iExtra = std::atoi(column_text(argc, argv, 8));

    add_weather_condition(wcCondition);
    return 0;
}

void WORLD::add_weather_condition(WEATHER_CONDITION* wcCondition)
{
    weather_conditions.push_back(wcCondition);
}

std::string WORLD::choose_weather(WEATHER* pWeather, CELL* pCell)
{
    float fA = pWeather->get_param_a();
    float fB = pWeather->get_param_b();
    float fTemperature = pWeather->get_temperature();
    bool bDesert = pCell != nullptr && pCell->bDesert != 0;

    std::vector<WEATHER_CONDITION*> v_Kept;
    for (WEATHER_CONDITION* wcCondition : weather_conditions)
        if (wcCondition->fits(fA, fB, fTemperature, bDesert))
            v_Kept.push_back(wcCondition);

    if (v_Kept.empty())
    {
        show_message_once("ERROR: No weather chosen from the world engine!");
        return "Overcasted";
    }
    int k = random_next() % (int)v_Kept.size();
    return v_Kept[k]->sName;
}
