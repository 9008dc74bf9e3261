#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <functional>
#include <fstream>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/colours.h"
#include "framework/helpers.h"
#include "framework/run_files.h"
#include "framework/scroll_window.h"
#include "tests/map_fixture.h"

namespace
{
const int WINDOW_KEYS[] = {KEY_S, KEY_W, KEY_Q, KEY_M, KEY_H};

class WorldTest : public MAP_TEST
{
protected:
    void TearDown() override
    {
        for (int k : WINDOW_KEYS)
            key[k] = 0;
        for (const char* sTable : {"settlement_window", "node_weather", "quests"})
            world()->close_windows(sTable);
        MAP_TEST::TearDown();
    }

    // One press of the key: down for a tick, then up for a tick.
    static void press_key(int iKey)
    {
        key[iKey] = 1;
        world()->update();
        key[iKey] = 0;
        world()->update();
    }
    static std::vector<std::string> window_tables()
    {
        std::vector<std::string> v;
        for (SCROLL_WINDOW* w : world()->get_windows())
            v.push_back(w->get_table());
        return v;
    }
    // The rows a window shows once it has drawn, cells joined by '|'.
    static std::vector<std::string> shown_rows(SCROLL_WINDOW* w)
    {
        BITMAP* bmp = make_test_bitmap(640, 480, BLACK);
        w->draw(bmp);
        destroy_bitmap(bmp);
        std::vector<std::string> v;
        for (const std::list<std::string>& l_Row : w->get_rows())
        {
            std::string s;
            for (const std::string& sCell : l_Row)
                s += (s.empty() ? "" : "|") + sCell;
            v.push_back(s);
        }
        return v;
    }
    static std::vector<std::string> scratch_rows(const char* sql)
    {
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open(SCROLL_WINDOW_DB_PATH, &db), SQLITE_OK);
        std::vector<std::string> v = rows(db, sql);
        sqlite3_close(db);
        return v;
    }
    static bool scratch_has_chart()
    {
        return scratch_rows("SELECT name FROM sqlite_master WHERE name = 'settlement_window'").size() == 1;
    }
    // A settlement of the map with its location label and population.
    NODE* town_at(float x, float y, const std::string& sLocation, int iPopulation)
    {
        NODE* n = node_at(x, y);
        n->bSettlement = true;
        n->append_location(sLocation);
        n->iPopulation = iPopulation;
        return n;
    }
};

// What one translucent fill of the colour at the alpha leaves over the pixel.
int blended(int iColour, int iOver, int iAlpha)
{
    BITMAP* bmp = make_test_bitmap(1, 1, iOver);
    set_trans_blender(0, 0, 0, iAlpha);
    drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
    putpixel(bmp, 0, 0, iColour);
    solid_mode();
    int iPixel = getpixel(bmp, 0, 0);
    destroy_bitmap(bmp);
    return iPixel;
}

// Whether any pixel of the rectangle (both corners included) has the colour.
bool any_pixel(BITMAP* bmp, int x1, int y1, int x2, int y2, int iColour)
{
    for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x)
            if (getpixel(bmp, x, y) == iColour)
                return true;
    return false;
}
}

TEST_F(WorldTest, AHeldKeyTogglesItsWindowOncePerPress)
{
    key[KEY_S] = 1;
    for (int i = 0; i < 5; ++i)
        world()->update();
    EXPECT_EQ(window_tables(), std::vector<std::string>{"settlement_window"});
    EXPECT_TRUE(scratch_has_chart());

    key[KEY_S] = 0;
    world()->update();
    EXPECT_EQ(window_tables().size(), 1u);
    key[KEY_S] = 1;
    world()->update();
    world()->update();
    EXPECT_TRUE(window_tables().empty());
    // Closing the chart drops its table from the scratch database.
    EXPECT_FALSE(scratch_has_chart());
}

TEST_F(WorldTest, TheThreeWindowsOpenTogetherInTheOrderOfTheirKeysAndCloseApart)
{
    press_key(KEY_Q);
    press_key(KEY_S);
    press_key(KEY_W);
    EXPECT_EQ(window_tables(), (std::vector<std::string>{"quests", "settlement_window", "node_weather"}));
    struct EXPECTED
    {
        float fX, fY;
        int iWidth, iHeight;
    };
    const EXPECTED a_Expected[] = {{95, 90, 450, 300}, {120, 90, 400, 300}, {220, 190, 200, 100}};
    int i = 0;
    for (SCROLL_WINDOW* w : world()->get_windows())
    {
        EXPECT_TRUE(w->is_visible());
        EXPECT_FLOAT_EQ(w->get_x(), a_Expected[i].fX);
        EXPECT_FLOAT_EQ(w->get_y(), a_Expected[i].fY);
        EXPECT_EQ(w->get_width(), a_Expected[i].iWidth);
        EXPECT_EQ(w->get_height(), a_Expected[i].iHeight);
        ++i;
    }
    press_key(KEY_S);
    EXPECT_EQ(window_tables(), (std::vector<std::string>{"quests", "node_weather"}));
}

TEST_F(WorldTest, ThePopulationChartListsTheSettlementsLocationsQuotedAsTheyAre)
{
    town_at(100, 100, "King's Rest", 1200);
    node_at(150, 100); // not a settlement
    town_at(200, 100, "Old Mill", 300);
    // A chart left open when an earlier run ended leaves its table and old towns behind.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(SCROLL_WINDOW_DB_PATH, &db), SQLITE_OK);
    exec_sql(db, "CREATE TABLE settlement_window(Town char(100), Population long)");
    exec_sql(db, "INSERT INTO settlement_window VALUES('Gone', 5)");
    sqlite3_close(db);

    std::string sOut = capture_messages([] { press_key(KEY_S); });
    EXPECT_EQ(sOut, "");
    EXPECT_EQ(scratch_rows("SELECT * FROM settlement_window"),
              (std::vector<std::string>{"Old Mill|300", "King's Rest|1200"}));
    SCROLL_WINDOW* w = world()->get_windows().front();
    EXPECT_EQ(w->query_text(), "select * from settlement_window ORDER BY Population");
    EXPECT_EQ(shown_rows(w), (std::vector<std::string>{"Old Mill|300", "King's Rest|1200"}));
}

TEST_F(WorldTest, AChartTheScratchDatabaseCannotHoldShowsOneMessageNamingItAndStaysClosed)
{
    for (int i = 0; i < 40; ++i)
        town_at(10.0f + 15 * i, 100, "Town " + std::to_string(i), 100 + i);
    // Another program's connection to the scratch file, holding it in the case's way.
    sqlite3* dbOther = nullptr;
    auto hold = [&](const char* sSql)
    {
        ASSERT_EQ(sqlite3_open(SCROLL_WINDOW_DB_PATH, &dbOther), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(dbOther, sSql, nullptr, nullptr, nullptr), SQLITE_OK);
    };
    struct CASE
    {
        const char* sLabel;
        std::function<void()> spoil;
        const char* sError;
    } cases[] = {
        {"not a database", [] { std::ofstream(SCROLL_WINDOW_DB_PATH, std::ios::binary) << std::string(3000, '\x5a'); },
         "file is not a database"},
        {"a view in the table's place", [&] { hold("CREATE VIEW settlement_window AS SELECT 1"); },
         "use DROP VIEW to delete view settlement_window"},
        // Another writer: the old table goes (a read), making the new one fails.
        {"locked for writing", [&] { hold("BEGIN IMMEDIATE"); }, "database is locked"},
        {"locked for reading", [&] { hold("BEGIN EXCLUSIVE"); }, "database is locked"},
    };
    for (const CASE& c : cases)
    {
        std::filesystem::remove(SCROLL_WINDOW_DB_PATH);
        c.spoil();
        const std::string sMessage = "ERROR: Population Chart: Can't write database: ./data/scroll_window.txt: " +
                                     std::string(c.sError) + "\n";
        // Where every statement failed with a box of its own, one a town.
        EXPECT_EQ(capture_messages([] { press_key(KEY_S); }), sMessage) << c.sLabel;
        EXPECT_TRUE(window_tables().empty()) << c.sLabel;
        // Each press tries again, and a mended file gives the chart.
        EXPECT_EQ(capture_messages([] { press_key(KEY_S); }), sMessage) << c.sLabel;
        sqlite3_close(dbOther);
        dbOther = nullptr;
        std::filesystem::remove(SCROLL_WINDOW_DB_PATH);
        EXPECT_EQ(capture_messages([] { press_key(KEY_S); }), "") << c.sLabel;
        ASSERT_EQ(window_tables(), std::vector<std::string>{"settlement_window"}) << c.sLabel;
        EXPECT_EQ(shown_rows(world()->get_windows().front()).size(), 40u) << c.sLabel;
        press_key(KEY_S);
    }
}

TEST_F(WorldTest, RecentWeatherShowsTheNodeTheTokenStoodAtWhenItOpened)
{
    NODE* a = node_at(100, 100);
    NODE* b = node_at(140, 100);
    place_player(a);
    const std::string sA = std::to_string(a->get_id());
    const std::string sB = std::to_string(b->get_id());
    for (const std::string& sRow : {sA + ",1,'Day one',40,50", sA + ",2,'Day two',41,52", sB + ",2,'Elsewhere',1,2"})
        exec_sql(save_db, ("INSERT INTO node_weather VALUES(" + sRow + ")").c_str());

    press_key(KEY_W);
    SCROLL_WINDOW* w = world()->get_windows().front();
    const std::vector<std::string> v_Expected = {"Day two|41|52", "Day one|40|50"};
    EXPECT_EQ(shown_rows(w), v_Expected);
    // The token moving on changes nothing: the node was taken when the window opened.
    map->tTraveller->set_node(b);
    EXPECT_EQ(shown_rows(w), v_Expected);

    press_key(KEY_W);
    press_key(KEY_W);
    EXPECT_EQ(shown_rows(world()->get_windows().front()), std::vector<std::string>{"Elsewhere|1|2"});
}

TEST_F(WorldTest, TheQuestsWindowListsTheQuestRowsInIdOrder)
{
    exec_sql(save_db, "INSERT INTO quests VALUES(2,\"Tarn\",\"Fen\")");
    exec_sql(save_db, "INSERT INTO quests VALUES(1,\"Holt\",\"Moor\")");
    press_key(KEY_Q);
    EXPECT_EQ(shown_rows(world()->get_windows().front()), (std::vector<std::string>{"Holt|Moor", "Tarn|Fen"}));
}

TEST_F(WorldTest, AnOpenWindowPausesTheMapAndTheRightButton)
{
    NODE* s = node_at(200, 200);
    NODE* n = node_at(240, 200);
    link(s, n);
    place_player(s);
    n->bRevealed = true;
    world()->add_message(new std::string("Travel to Tarn to unlock edge.  Rank:  3"));

    press_key(KEY_Q);
    press_at(240, 200);
    world()->update();
    mouse_b = 2;
    world()->update();
    EXPECT_TRUE(s->has_player());
    EXPECT_FALSE(map->tTraveller->is_moving());
    EXPECT_EQ(messages().size(), 1u);

    // With the last window closed the map runs again: the click moves, the right button clears.
    mouse_b = 0;
    press_key(KEY_Q);
    press_at(240, 200);
    world()->update();
    EXPECT_TRUE(n->has_player());
    EXPECT_TRUE(map->tTraveller->is_moving());
    EXPECT_EQ(messages().size(), 1u);
    mouse_b = 2;
    world()->update();
    EXPECT_TRUE(messages().empty());
}

TEST_F(WorldTest, TheQuestPanelGrowsFifteenPixelsAMessageAndItsLinesTen)
{
    for (int n : {1, 3})
    {
        world()->clear_messages();
        for (int i = 0; i < n; ++i)
            world()->add_message(new std::string("Travel to Tarn"));
        BITMAP* bmp = make_test_bitmap(640, 480, BLACK);
        world()->draw(bmp);
        const int iBottom = 25 + 15 * (n + 1);
        const int iHint = 30 + 10 * n;
        EXPECT_EQ(getpixel(bmp, 50, 5), WHITE) << n;
        EXPECT_EQ(getpixel(bmp, 590, iBottom), WHITE) << n;
        EXPECT_EQ(getpixel(bmp, 51, 6), blended(DARK_BLUE, BLACK, 128)) << n;
        EXPECT_EQ(getpixel(bmp, 60, iBottom + 1), BLACK) << n;
        EXPECT_EQ(getpixel(bmp, 49, 20), BLACK) << n;
        EXPECT_TRUE(any_pixel(bmp, 290, 10, 350, 17, WHITE)) << "title, " << n;
        for (int i = 0; i < n; ++i)
            EXPECT_TRUE(any_pixel(bmp, 250, 25 + 10 * i, 390, 32 + 10 * i, YELLOW)) << "message " << i;
        EXPECT_FALSE(any_pixel(bmp, 250, 25 + 10 * n, 390, iHint - 1, YELLOW)) << n;
        EXPECT_TRUE(any_pixel(bmp, 200, iHint, 440, iHint + 7, WHITE)) << "hint, " << n;
        destroy_bitmap(bmp);
    }
    // No message, no panel.
    world()->clear_messages();
    BITMAP* bmp = make_test_bitmap(640, 480, BLACK);
    world()->draw(bmp);
    EXPECT_FALSE(any_pixel(bmp, 0, 0, 639, 100, WHITE));
    destroy_bitmap(bmp);
}

TEST_F(WorldTest, TheStatusBarIsAnOliveBandWithTheTokensLine)
{
    NODE* s = node_at(200, 200);
    place_player(s);
    map->tTraveller->iState = TRAVELLER_TRAVELLING;
    BITMAP* bmp = make_test_bitmap(640, 480, GRAY);
    world()->draw(bmp);
    // Far from the token the bar lies over the black of the fog; the line goes over the band.
    EXPECT_EQ(getpixel(bmp, 320, 439), BLACK);
    EXPECT_EQ(getpixel(bmp, 320, 440), blended(DARK_KHAKI, blended(OLIVE_DRAB, BLACK, 230), 230));
    EXPECT_EQ(getpixel(bmp, 320, 470), blended(OLIVE_DRAB, BLACK, 230));
    EXPECT_EQ(getpixel(bmp, 639, 479), blended(OLIVE_DRAB, BLACK, 230));
    EXPECT_TRUE(any_pixel(bmp, 5, 454, 100, 457, YELLOW)) << "Traveling...";

    // At the node its name, one line higher.
    map->tTraveller->iState = TRAVELLER_AT_NODE;
    *s->sName = "Tarn";
    clear_to_color(bmp, GRAY);
    world()->draw(bmp);
    EXPECT_TRUE(any_pixel(bmp, 5, 445, 36, 452, YELLOW));
    EXPECT_FALSE(any_pixel(bmp, 5, 454, 100, 457, YELLOW));
    destroy_bitmap(bmp);
}

TEST_F(WorldTest, OpenWindowsAreDrawnTheFirstOpenedOnTop)
{
    press_key(KEY_S);
    BITMAP* bmp = make_test_bitmap(640, 480, BLACK);
    world()->draw(bmp);
    // The chart's title bar, y 65 to 75.
    EXPECT_TRUE(any_pixel(bmp, 121, 66, 519, 74, DARK_KHAKI));

    // The weather window, opened second, lies under the chart: the chart's translucent body
    // covers the weather's title bar (y 165 to 175).
    press_key(KEY_W);
    clear_to_color(bmp, BLACK);
    world()->draw(bmp);
    EXPECT_EQ(getpixel(bmp, 223, 168), blended(DARK_BLUE, DARK_KHAKI, 164));
    destroy_bitmap(bmp);
}

TEST_F(WorldTest, EachChannelMovesByItsFirstDrawLessItsSecondAndStaysInRange)
{
    for (unsigned int iSeed : {1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u})
    {
        const std::vector<int> v = draws_of(iSeed, 6);
        for (int iColour : {make_colour(100, 150, 200), make_colour(255, 0, 255), make_colour(0, 255, 1)})
        {
            random_seed(iSeed);
            const int iJittered = WORLD::jitter_colour(getr(iColour), getg(iColour), getb(iColour));
            EXPECT_EQ(random_draw_count(), 6);
            auto channel = [](int c, int iPlus, int iMinus) { return std::clamp(c + iPlus % 3 - iMinus % 3, 0, 255); };
            EXPECT_EQ(iJittered, make_colour(channel(getr(iColour), v[0], v[1]), channel(getg(iColour), v[2], v[3]),
                                             channel(getb(iColour), v[4], v[5])))
                << iSeed;
        }
    }
}

TEST_F(WorldTest, TheBlurWrittenStraightIntoTheLinesIsCirclefillUnderTheTransBlender)
{
    // A picture of every kind of channel, the extremes included, over a target not black.
    BITMAP* bmpPicture = make_test_bitmap(37, 23, BLACK);
    random_seed(9);
    for (int y = 0; y < bmpPicture->h; ++y)
        for (int x = 0; x < bmpPicture->w; ++x)
        {
            const int aLevels[] = {0, 1, 2, 127, 128, 253, 254, 255};
            int r = aLevels[random_next() % 8];
            int g = random_next() % 256;
            int b = aLevels[random_next() % 8];
            putpixel(bmpPicture, x, y, make_colour(r, g, b));
        }
    // A target larger than the picture: the discs at its edges reach beyond it.
    BITMAP* bmpBy_discs = make_test_bitmap(41, 26, make_colour(200, 10, 90));
    BITMAP* bmpStraight = make_test_bitmap(41, 26, make_colour(200, 10, 90));

    random_seed(5);
    set_trans_blender(0, 0, 0, 80);
    drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
    WORLD::blur_by_discs(bmpPicture, bmpBy_discs);
    solid_mode();
    const long long iDraws = random_draw_count();
    random_seed(5);
    WORLD::blur(bmpPicture, bmpStraight);
    EXPECT_EQ(random_draw_count(), iDraws);
    EXPECT_EQ(iDraws, 6 * 37 * 23);
    EXPECT_TRUE(same_pixels(bmpStraight, bmpBy_discs));
    // A clipped target takes the same draws and keeps what lies outside the clip.
    clear_to_color(bmpBy_discs, make_colour(200, 10, 90));
    clear_to_color(bmpStraight, make_colour(200, 10, 90));
    set_clip_rect(bmpBy_discs, 3, 4, 30, 20);
    set_clip_rect(bmpStraight, 3, 4, 30, 20);
    random_seed(5);
    set_trans_blender(0, 0, 0, 80);
    drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
    WORLD::blur_by_discs(bmpPicture, bmpBy_discs);
    solid_mode();
    random_seed(5);
    WORLD::blur(bmpPicture, bmpStraight);
    EXPECT_EQ(random_draw_count(), iDraws);
    EXPECT_TRUE(same_pixels(bmpStraight, bmpBy_discs));
    for (BITMAP* bmp : {bmpPicture, bmpBy_discs, bmpStraight})
        destroy_bitmap(bmp);
}

TEST_F(WorldTest, TheBackgroundIsTheBlurredPlanetAtTwiceItsSizeAndDrawsWhereTheCameraNeedsIt)
{
    // Red west, blue east: the blur keeps which half is which.
    BITMAP* bmpPlanet = make_test_bitmap(640, 480, make_colour(0, 0, 200));
    rectfill(bmpPlanet, 0, 0, 319, 479, make_colour(200, 0, 0));
    random_seed(1);
    world()->make_background(bmpPlanet);
    destroy_bitmap(bmpPlanet);
    EXPECT_EQ(random_draw_count(), 6LL * 1024 * 768);
    BITMAP* bmpBackground = world()->get_background();
    ASSERT_EQ(bmpBackground->w, 1024);
    ASSERT_EQ(bmpBackground->h, 768);
    EXPECT_GT(getr(getpixel(bmpBackground, 500, 400)), 190);
    EXPECT_GT(getb(getpixel(bmpBackground, 530, 400)), 190);

    // 'R' red, 'B' blue, '0' black at a screen x of the row y 240.
    struct CASE
    {
        float fCamera_x;
        float fZoom;
        std::vector<std::pair<int, char>> v_Seen;
    };
    const CASE cases[] = {
        // d < 0: the copies at -640 and 0; nothing east of the copy at 0.
        {310, 1.0f, {{5, 'B'}, {100, 'R'}, {500, 'B'}, {700, '0'}}},
        // d = 0: the copies at 0 and 640.
        {320, 1.0f, {{5, 'R'}, {500, 'B'}, {700, 'R'}, {1000, 'B'}}},
        // Below zoom 1 all three.
        {320, 0.5f, {{50, 'B'}, {200, 'R'}, {400, 'B'}, {560, 'R'}}},
    };
    BITMAP* bmp = make_test_bitmap(1400, 480, GRAY);
    CAMERA* c = CAMERA::current();
    for (const CASE& k : cases)
    {
        c->reset(k.fCamera_x, 240);
        c->set_scale(k.fZoom);
        clear_to_color(bmp, GRAY);
        world()->draw_background(bmp, 640, 480);
        for (const auto& [x, cSeen] : k.v_Seen)
        {
            const int p = getpixel(bmp, x, 240);
            const char cGot = getr(p) > 150 ? 'R' : getb(p) > 150 ? 'B' : p == BLACK ? '0' : '?';
            EXPECT_EQ(cGot, cSeen) << "camera " << k.fCamera_x << " zoom " << k.fZoom << " x " << x;
        }
    }
    destroy_bitmap(bmp);
}
