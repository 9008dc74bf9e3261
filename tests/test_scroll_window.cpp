#include <gtest/gtest.h>

#include <filesystem>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "framework/colours.h"
#include "framework/run_files.h"
#include "framework/scroll_window.h"
#include "tests/headless.h"

namespace fs = std::filesystem;

namespace
{
const int BACK = 0x203040;

// Every window opens ./data/scroll_window.txt, so each test runs in a fresh directory of its
// own with a data folder, the mouse at rest and no grab.
class ScrollWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fs::create_directory("data");
        mouse_x = 0;
        mouse_y = 0;
        mouse_b = 0;
        SCROLL_WINDOW::iGrab_id = -1;
        bmp = make_test_bitmap(640, 480, BACK);
    }
    void TearDown() override
    {
        destroy_bitmap(bmp);
        mouse_b = 0;
    }

    // One logic step of the windows in the given order, the mouse at (x, y).
    void tick(const std::vector<SCROLL_WINDOW*>& a_Windows, int x, int y, bool bHeld)
    {
        mouse_x = x;
        mouse_y = y;
        mouse_b = bHeld ? 1 : 0;
        game_time++;
        for (SCROLL_WINDOW* w : a_Windows)
            w->update();
    }

    void redraw(SCROLL_WINDOW& w)
    {
        clear_to_color(bmp, BACK);
        w.draw(bmp);
    }

    WORKING_DIRECTORY wdDir;
    BITMAP* bmp = nullptr;
};

// True when the pixels of the colour in the text's box are exactly the glyphs of the text
// in the built-in font with their top-left corner at (x, y).
::testing::AssertionResult shows_text(BITMAP* bmp, int x, int y, const std::string& sText, int colour)
{
    const int w = text_length(font, sText.c_str());
    const int h = text_height(font);
    BITMAP* ref = make_test_bitmap(w, h, colour ^ 0xFFFFFF);
    textout_ex(ref, font, sText.c_str(), 0, 0, colour, -1);
    int iGlyph_pixels = 0;
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++)
        {
            const bool bWant = getpixel(ref, i, j) == colour;
            iGlyph_pixels += bWant;
            if (bWant != (getpixel(bmp, x + i, y + j) == colour))
            {
                destroy_bitmap(ref);
                return ::testing::AssertionFailure()
                       << "\"" << sText << "\" at (" << x << ", " << y << ") differs at (" << x + i
                       << ", " << y + j << ")";
            }
        }
    destroy_bitmap(ref);
    if (iGlyph_pixels == 0)
        return ::testing::AssertionFailure() << "\"" << sText << "\" has no pixels";
    return ::testing::AssertionSuccess();
}

// Every glyph pixel of the text at (x, y) has its shadow one pixel right and down (or lies
// under the text itself).
::testing::AssertionResult has_shadow(BITMAP* bmp, int x, int y, const std::string& sText, int colour)
{
    const int w = text_length(font, sText.c_str());
    const int h = text_height(font);
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++)
        {
            if (getpixel(bmp, x + i, y + j) != colour)
                continue;
            const int iShadow = getpixel(bmp, x + i + 1, y + j + 1);
            if (iShadow != BLACK && iShadow != colour)
                return ::testing::AssertionFailure() << "no shadow at (" << x + i + 1 << ", " << y + j + 1 << ")";
        }
    return ::testing::AssertionSuccess();
}

int count_colour(BITMAP* bmp, int x1, int y1, int x2, int y2, int colour)
{
    int n = 0;
    for (int y = y1; y <= y2; y++)
        for (int x = x1; x <= x2; x++)
            n += getpixel(bmp, x, y) == colour;
    return n;
}

// DARK_BLUE at alpha 164 over the background, by Allegro's blender to within rounding.
bool is_body_colour(int c)
{
    for (int iShift = 0; iShift <= 16; iShift += 8)
    {
        const int a = (DARK_BLUE >> iShift) & 0xFF;
        const int b = (BACK >> iShift) & 0xFF;
        const int d = ((c >> iShift) & 0xFF) - (b + (a - b) * 164 / 256);
        if (d < -2 || d > 2)
            return false;
    }
    return true;
}

// A table of numbered rows "r0", "r1", ... in the window's scratch database.
void fill_rows(SCROLL_WINDOW& w, int n)
{
    w.exec("DROP TABLE IF EXISTS numbered");
    w.exec("CREATE TABLE numbered(i int, label text)");
    for (int i = 0; i < n; i++)
        w.exec(("INSERT INTO numbered VALUES(" + std::to_string(i) + ", 'r" + std::to_string(i) + "')").c_str());
    w.set_query("SELECT label FROM numbered ORDER BY i");
    w.add_column("Label", 0);
}
}

struct GEOMETRY_CASE
{
    int iWidth;
    int iHeight;
    float fX;
    float fY;
};

TEST_F(ScrollWindowTest, SizedWindowsAreCentredOnTheScreenWithTheSliderAtTheTopRight)
{
    const GEOMETRY_CASE a_Cases[] = {
        {400, 300, 120, 90}, {200, 100, 220, 190}, {450, 300, 95, 90}, {101, 50, 270, 215}};
    for (const GEOMETRY_CASE& c : a_Cases)
    {
        SCROLL_WINDOW w(c.iWidth, c.iHeight);
        EXPECT_EQ(w.get_x(), c.fX) << c.iWidth << "x" << c.iHeight;
        EXPECT_EQ(w.get_y(), c.fY) << c.iWidth << "x" << c.iHeight;
        EXPECT_EQ(w.get_slider().get_x(), c.fX + c.iWidth);
        EXPECT_EQ(w.get_slider().get_y(), c.fY);
        EXPECT_FALSE(w.is_visible());
    }

    SCROLL_WINDOW wPlaced(10.5f, 20.0f, 30, 40);
    EXPECT_EQ(wPlaced.get_x(), 10.5f);
    EXPECT_EQ(wPlaced.get_slider().get_x(), 40.5f);
    EXPECT_EQ(wPlaced.get_slider().get_y(), 20.0f);
    SCROLL_WINDOW wEmpty;
    EXPECT_EQ(wEmpty.get_width(), 0);
    EXPECT_EQ(wEmpty.get_x(), 0.0f);
    EXPECT_TRUE(fs::exists(SCROLL_WINDOW_DB_PATH));
}

TEST_F(ScrollWindowTest, DrawsFramesTitleColumnsAndSliderInPlace)
{
    SCROLL_WINDOW w(400, 300);
    w.set_title("Population Chart");
    w.add_column("Town", 20);
    w.add_column("Population", 200);
    w.set_table("sqlite_master", nullptr);
    redraw(w);
    EXPECT_EQ(getpixel(bmp, 60, 60), BACK) << "hidden windows draw nothing";

    w.toggle_visible();
    redraw(w);
    const int x = 120, y = 90, r = 520, b = 390;
    EXPECT_TRUE(is_body_colour(getpixel(bmp, x + 100, y + 150)));
    EXPECT_EQ(getpixel(bmp, x + 2, y - 24), DARK_KHAKI) << "title bar";
    EXPECT_EQ(getpixel(bmp, x + 2, y - 2), OLIVE_DRAB) << "header";
    EXPECT_EQ(getpixel(bmp, x - 1, y - 26), OLIVE_DRAB) << "outer frame";
    EXPECT_EQ(getpixel(bmp, r + 1, b + 1), OLIVE_DRAB) << "outer frame";
    EXPECT_EQ(getpixel(bmp, x, y + 100), DARK_KHAKI) << "inner frame";
    EXPECT_EQ(getpixel(bmp, x + 100, b), DARK_KHAKI) << "inner frame";
    EXPECT_EQ(getpixel(bmp, x - 2, y), BACK);
    EXPECT_EQ(getpixel(bmp, x + 20, y - 3), OLIVE_DRAB) << "no separator before the first column";
    EXPECT_EQ(getpixel(bmp, x + 200, y - 3), DARK_KHAKI) << "separator";
    EXPECT_EQ(getpixel(bmp, r + 7, y + 7), GRAY) << "slider";
    EXPECT_EQ(getpixel(bmp, r + 15, y + 7), WHITE) << "slider frame";
    EXPECT_EQ(getpixel(bmp, r + 16, y + 7), BACK);

    const int iTitle_x = x + 200 - text_length(font, "Population Chart") / 2;
    EXPECT_TRUE(shows_text(bmp, iTitle_x, y - 25, "Population Chart", YELLOW));
    EXPECT_TRUE(has_shadow(bmp, iTitle_x, y - 25, "Population Chart", YELLOW));
    EXPECT_TRUE(shows_text(bmp, x + 25, y - 12, "Town", WHITE));
    EXPECT_TRUE(shows_text(bmp, x + 205, y - 12, "Population", WHITE));
}

TEST_F(ScrollWindowTest, DefaultQueryNamesTableAndOrderUnlessACustomOneIsSet)
{
    SCROLL_WINDOW w(200, 100);
    w.set_table("settlement_window", "Population");
    EXPECT_EQ(w.query_text(), "select * from settlement_window ORDER BY Population");
    EXPECT_STREQ(w.get_table(), "settlement_window");
    w.set_table("node_weather", "");
    EXPECT_EQ(w.query_text(), "select * from node_weather");
    w.set_table("node_weather", nullptr);
    EXPECT_EQ(w.query_text(), "select * from node_weather");
    const std::string sLong(300, 'c');
    w.set_table("t", sLong.c_str());
    EXPECT_EQ(w.query_text(), "select * from t ORDER BY " + sLong) << "the column is not cut";

    w.set_query("SELECT vcQuest, vcLocked FROM quests ORDER BY Quest_ID");
    w.set_table("quests", "Other");
    EXPECT_EQ(w.query_text(), "SELECT vcQuest, vcLocked FROM quests ORDER BY Quest_ID");
    EXPECT_STREQ(w.get_table(), "quests");
}

using ROWS = std::list<std::list<std::string>>;

TEST_F(ScrollWindowTest, AnUnchangedDatabaseIsNotQueriedAgain)
{
    make_database("other.db", "CREATE TABLE t(a); INSERT INTO t VALUES('one');");
    SCROLL_WINDOW w(200, 100);
    w.open_database("other.db");
    w.set_table("t", nullptr);
    w.toggle_visible();
    SCROLL_WINDOW wOther(200, 100);
    wOther.set_query("SELECT 'other'");
    wOther.toggle_visible();

    w.draw(bmp);
    wOther.draw(bmp);
    w.draw(bmp);
    EXPECT_EQ(SCROLL_WINDOW::l_Rows, (ROWS{{"other"}})) << "the rows of the last query run";
    EXPECT_EQ(w.get_rows(), (ROWS{{"one"}}));

    sqlite3* dbOther = nullptr;
    ASSERT_EQ(sqlite3_open("other.db", &dbOther), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(dbOther, "INSERT INTO t VALUES('two')", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(dbOther);
    w.draw(bmp);
    EXPECT_EQ(SCROLL_WINDOW::l_Rows, (ROWS{{"one"}, {"two"}}));

    // A new query, table or database is run at once.
    w.set_query("SELECT a FROM t WHERE a = 'two'");
    w.draw(bmp);
    EXPECT_EQ(w.get_rows(), (ROWS{{"two"}}));
    w.set_query(nullptr);
    w.set_table("sqlite_master", nullptr);
    w.draw(bmp);
    EXPECT_EQ(w.get_rows().size(), 1u) << "the table t";

    make_database("third.db", "CREATE TABLE t(a); INSERT INTO t VALUES('three');");
    SCROLL_WINDOW wSwitch(200, 100);
    wSwitch.open_database("other.db");
    wSwitch.set_table("t", nullptr);
    wSwitch.toggle_visible();
    wSwitch.draw(bmp);
    wSwitch.open_database("third.db");
    wSwitch.draw(bmp);
    EXPECT_EQ(wSwitch.get_rows(), (ROWS{{"three"}}));
}

struct RERUN_CASE
{
    const char* sWhy;
    const char* sPrepare;
    const char* sQuery;
};

TEST_F(ScrollWindowTest, QueriesWhoseAnswerMayChangeOnTheSameDataRunEveryTime)
{
    make_database("aux.db", "CREATE TABLE t(a); INSERT INTO t VALUES(1);");
    const RERUN_CASE a_Cases[] = {
        {"a function", "", "SELECT random()"},
        {"a change of its own", "CREATE TABLE log(a)", "INSERT INTO log VALUES(1); SELECT a FROM log"},
        {"an attached database", "ATTACH 'aux.db' AS aux", "SELECT a FROM aux.t"},
    };
    for (const RERUN_CASE& c : a_Cases)
    {
        SCOPED_TRACE(c.sWhy);
        fs::remove(SCROLL_WINDOW_DB_PATH);
        SCROLL_WINDOW w(200, 100);
        w.exec(c.sPrepare);
        w.set_query(c.sQuery);
        w.toggle_visible();
        w.draw(bmp);
        const ROWS l_First = w.get_rows();
        // Another connection writes the attached database, which the data version of the
        // main one does not see.
        make_database("aux.db", "INSERT INTO t VALUES(2);");
        w.draw(bmp);
        EXPECT_NE(w.get_rows(), l_First);
    }
}

TEST_F(ScrollWindowTest, RowsOfTheTableAreDrawnInQueryOrderAndNullCellsAreEmpty)
{
    SCROLL_WINDOW w(400, 300);
    w.add_column("Town", 0);
    w.add_column("Population", 200);
    w.exec("CREATE TABLE settlement_window(Town char(100), Population long)");
    w.exec("INSERT into settlement_window values('Bree', '120')");
    w.exec("INSERT into settlement_window values('Ashford', '40')");
    w.exec("INSERT into settlement_window values(NULL, '75')");
    w.set_table("settlement_window", "Population");
    w.toggle_visible();
    redraw(w);

    EXPECT_EQ(w.get_rows(), (ROWS{{"Ashford", "40"}, {"", "75"}, {"Bree", "120"}}));
    const int x = 120, y = 90;
    EXPECT_TRUE(shows_text(bmp, x + 10, y + 10, "Ashford", WHITE));
    EXPECT_TRUE(has_shadow(bmp, x + 10, y + 10, "Ashford", WHITE));
    EXPECT_TRUE(shows_text(bmp, x + 210, y + 10, "40", WHITE));
    EXPECT_EQ(count_colour(bmp, x + 2, y + 20, x + 199, y + 29, WHITE), 0) << "a NULL town";
    EXPECT_TRUE(shows_text(bmp, x + 210, y + 20, "75", WHITE));
    EXPECT_TRUE(shows_text(bmp, x + 10, y + 30, "Bree", WHITE));
    EXPECT_TRUE(shows_text(bmp, x + 210, y + 30, "120", WHITE));
}

TEST_F(ScrollWindowTest, CellsPastTheLastColumnAreLeftOut)
{
    SCROLL_WINDOW w(200, 100);
    w.add_column("Only", 0);
    w.set_query("SELECT 'a', 'b', 'c'");
    w.toggle_visible();
    redraw(w);
    const int x = 220, y = 190;
    EXPECT_TRUE(shows_text(bmp, x + 10, y + 10, "a", WHITE));
    EXPECT_EQ(count_colour(bmp, x + 1, y + 1, x + 199, y + 99, WHITE),
              count_colour(bmp, x + 10, y + 10, x + 17, y + 17, WHITE));
}

TEST_F(ScrollWindowTest, ShowsRowsOfAnotherDatabaseAsSoonAsTheyAreWritten)
{
    make_database("save.db", "CREATE TABLE quests(Quest_ID int UNIQUE, vcQuest varchar(20), vcLocked varchar(20));"
                             "INSERT INTO quests VALUES(2, 'Travel to Crest', 'Ashford');"
                             "INSERT INTO quests VALUES(1, 'Travel to Bree', 'Dunmoor');");
    SCROLL_WINDOW w(450, 300);
    w.add_column("Destination", 0);
    w.add_column("Unlocks", 225);
    w.open_database("save.db");
    w.set_query("SELECT vcQuest, vcLocked FROM quests ORDER BY Quest_ID");
    w.set_table("quests", nullptr);
    w.toggle_visible();
    redraw(w);
    const int x = 95, y = 90;
    EXPECT_TRUE(shows_text(bmp, x + 10, y + 10, "Travel to Bree", WHITE));
    EXPECT_TRUE(shows_text(bmp, x + 235, y + 10, "Dunmoor", WHITE));
    EXPECT_TRUE(shows_text(bmp, x + 10, y + 20, "Travel to Crest", WHITE));
    EXPECT_EQ(count_colour(bmp, x + 1, y + 30, x + 449, y + 40, WHITE), 0);

    // The game writes the save database through a connection of its own.
    sqlite3* dbOther = nullptr;
    ASSERT_EQ(sqlite3_open("save.db", &dbOther), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(dbOther, "INSERT INTO quests VALUES(3, 'Travel to Fen', 'Bree')", nullptr, nullptr, nullptr),
              SQLITE_OK);
    redraw(w);
    EXPECT_TRUE(shows_text(bmp, x + 10, y + 30, "Travel to Fen", WHITE));
    ASSERT_EQ(sqlite3_exec(dbOther, "UPDATE quests SET vcQuest = 'Travel to Moor' WHERE Quest_ID = 1", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    redraw(w);
    EXPECT_TRUE(shows_text(bmp, x + 10, y + 10, "Travel to Moor", WHITE));
    sqlite3_close(dbOther);

    // And through the window's own connection.
    w.exec("DELETE FROM quests WHERE Quest_ID = 1");
    redraw(w);
    EXPECT_TRUE(shows_text(bmp, x + 10, y + 10, "Travel to Crest", WHITE));
}

struct SCROLL_CASE
{
    int iHeight;
    bool bSlider_down;
    int iFirst_row;  // the row whose text top lies at the body's top + 10
    int iLast_row;   // the last row drawn
};

TEST_F(ScrollWindowTest, SliderScrollsOnlyRowsThatOverflowTheBody)
{
    // 30 rows in a 300 body fit; in a 100 body they overflow by 200, and the slider at its
    // lowest point gives the offset -170: row 17 stands where row 0 stood.
    const SCROLL_CASE a_Cases[] = {{300, false, 0, 28}, {300, true, 0, 28}, {100, false, 0, 8}, {100, true, 17, 25}};
    for (const SCROLL_CASE& c : a_Cases)
    {
        SCOPED_TRACE(std::to_string(c.iHeight) + (c.bSlider_down ? " slider down" : " slider up"));
        SCROLL_WINDOW w(200, c.iHeight);
        fill_rows(w, 30);
        w.toggle_visible();
        const int x = (int)w.get_x(), y = (int)w.get_y();
        if (c.bSlider_down)
        {
            tick({&w}, x + 207, y + 7, true);
            tick({&w}, x + 207, 479, true);
            tick({&w}, x + 207, 479, false);
            ASSERT_EQ(w.get_slider().get_y(), y + c.iHeight - 15);
        }
        redraw(w);
        EXPECT_TRUE(shows_text(bmp, x + 10, y + 10, "r" + std::to_string(c.iFirst_row), WHITE));
        const int iLast_top = y + 10 + 10 * (c.iLast_row - c.iFirst_row);
        EXPECT_TRUE(shows_text(bmp, x + 10, iLast_top, "r" + std::to_string(c.iLast_row), WHITE));
        EXPECT_EQ(count_colour(bmp, x + 1, iLast_top + 10, x + 199, iLast_top + 17, WHITE), 0)
            << "nothing after the last row";
    }
}

TEST_F(ScrollWindowTest, ARowScrolledHalfUnderTheHeaderShowsItsLowerPart)
{
    // 30 rows in a 100 body overflow by 200; the slider 6 below the top scrolls them by 12, so
    // row 0 has its text top 2 above the body, under the header, and row 1 its top at 8.
    SCROLL_WINDOW w(200, 100);
    fill_rows(w, 30);
    w.toggle_visible();
    const int x = (int)w.get_x(), y = (int)w.get_y();
    tick({&w}, x + 207, y + 7, true);
    tick({&w}, x + 207, y + 16, true);
    tick({&w}, x + 207, y + 16, false);
    ASSERT_EQ(w.get_slider().get_y(), y + 6);
    redraw(w);

    BITMAP* ref = make_test_bitmap(640, 480, BACK);
    textprintf_ex(ref, font, x + 10, y - 2, WHITE, -1, "r0");
    int iShown = 0;
    for (int j = y + 1; j <= y + 7; j++)
        for (int i = x + 1; i < x + 200; i++)
        {
            const bool bGlyph = getpixel(ref, i, j) == WHITE;
            iShown += bGlyph;
            EXPECT_EQ(getpixel(bmp, i, j) == WHITE, bGlyph) << "at (" << i << ", " << j << ")";
        }
    destroy_bitmap(ref);
    EXPECT_GT(iShown, 0) << "the lower part of row 0";
    EXPECT_TRUE(shows_text(bmp, x + 10, y + 8, "r1", WHITE));
}

TEST_F(ScrollWindowTest, BodyWithoutHeightDoesNotScroll)
{
    SCROLL_WINDOW w(200, 0);
    fill_rows(w, 3);
    w.toggle_visible();
    redraw(w);
    EXPECT_TRUE(shows_text(bmp, 230, 250, "r0", WHITE));
}

struct PRESS_CASE
{
    const char* sWhere;
    int iDx;  // from the body's top-left corner
    int iDy;
    bool bMoves;
};

TEST_F(ScrollWindowTest, DragByTitleHeaderOrBodyButNotBySliderOrOutside)
{
    const PRESS_CASE a_Cases[] = {{"title bar", 10, -20, true}, {"header", 10, -8, true},
                                  {"body", 100, 50, true},      {"slider", 207, 7, false},
                                  {"above the title", 10, -26, false}, {"left edge", 0, 50, false}};
    for (const PRESS_CASE& c : a_Cases)
    {
        SCOPED_TRACE(c.sWhere);
        SCROLL_WINDOW w(200, 100);
        const int mx = 220 + c.iDx, my = 190 + c.iDy;
        tick({&w}, mx, my, true);
        EXPECT_EQ(w.get_x(), 220.0f) << "the first tick only fixes the grab point";
        EXPECT_EQ(w.is_dragging(), c.bMoves);
        for (int i = 0; i < 4; i++)
            tick({&w}, mx + 40, my + 20, true);
        const float fX = c.bMoves ? 260.0f : 220.0f, fY = c.bMoves ? 210.0f : 190.0f;
        EXPECT_EQ(w.get_x(), fX);
        EXPECT_EQ(w.get_y(), fY);
        EXPECT_EQ(w.get_slider().get_x(), fX + 200);
        tick({&w}, mx + 40, my + 20, false);
        EXPECT_FALSE(w.is_dragging());
        EXPECT_FALSE(w.is_slider_dragging());
        EXPECT_EQ(SCROLL_WINDOW::iGrab_id, -1);
    }
}

TEST_F(ScrollWindowTest, ReleasingOutsideEndsTheDragAndTheNextPressTakesANewGrabPoint)
{
    SCROLL_WINDOW w(200, 100);
    tick({&w}, 300, 250, true);
    tick({&w}, 310, 250, true);
    tick({&w}, 310, 250, true);
    ASSERT_EQ(w.get_x(), 230.0f);
    tick({&w}, 5, 5, false);
    EXPECT_FALSE(w.is_dragging());
    EXPECT_EQ(SCROLL_WINDOW::iGrab_id, -1);

    // Pressed again at another point, the window stays where it is.
    for (int i = 0; i < 3; i++)
        tick({&w}, 240, 200, true);
    EXPECT_TRUE(w.is_dragging());
    EXPECT_EQ(w.get_x(), 230.0f);
    EXPECT_EQ(w.get_y(), 190.0f);
}

TEST_F(ScrollWindowTest, SliderStaysOnTheRightEdgeBetweenTopAndFifteenAboveTheBottom)
{
    SCROLL_WINDOW w(200, 100);
    tick({&w}, 427, 197, true);
    EXPECT_TRUE(w.is_slider_dragging());
    EXPECT_EQ(SCROLL_WINDOW::iGrab_id, w.get_id());
    EXPECT_EQ(w.get_slider().get_y(), 190.0f) << "mouse y - 10 is above the top";
    tick({&w}, 600, 240, true);
    EXPECT_EQ(w.get_slider().get_x(), 420.0f);
    EXPECT_EQ(w.get_slider().get_y(), 230.0f);
    tick({&w}, 600, 479, true);
    EXPECT_EQ(w.get_slider().get_y(), 275.0f);
    // Over the body while the slider is held: the window does not move.
    tick({&w}, 300, 0, true);
    tick({&w}, 250, 240, true);
    tick({&w}, 250, 240, true);
    EXPECT_EQ(w.get_slider().get_y(), 230.0f);
    EXPECT_EQ(w.get_x(), 220.0f);
    EXPECT_EQ(w.get_y(), 190.0f);
    EXPECT_FALSE(w.is_dragging());
    tick({&w}, 250, 240, false);
    EXPECT_FALSE(w.is_slider_dragging());

    // With a body under 15 pixels the lower limit wins.
    SCROLL_WINDOW wLow(100.0f, 100.0f, 50, 10);
    tick({&wLow}, 157, 107, true);
    EXPECT_EQ(wLow.get_slider().get_y(), 95.0f);
}

TEST_F(ScrollWindowTest, OneWindowHoldsTheGrabAtATime)
{
    SCROLL_WINDOW wFirst(200, 100);
    SCROLL_WINDOW wSecond(200, 100);
    tick({&wFirst, &wSecond}, 300, 250, true);
    EXPECT_EQ(SCROLL_WINDOW::iGrab_id, wFirst.get_id()) << "the first updated takes the grab";
    EXPECT_FALSE(wSecond.is_dragging());
    tick({&wFirst, &wSecond}, 330, 250, true);
    tick({&wFirst, &wSecond}, 330, 250, true);
    EXPECT_EQ(wFirst.get_x(), 250.0f);
    EXPECT_EQ(wSecond.get_x(), 220.0f);
    // Nor does its slider react.
    tick({&wFirst, &wSecond}, 427, 197, true);
    EXPECT_FALSE(wSecond.is_slider_dragging());

    // A window made during the drag frees the grab, and takes it when updated first.
    SCROLL_WINDOW wThird(200, 100);
    EXPECT_EQ(SCROLL_WINDOW::iGrab_id, -1);
    tick({&wThird, &wFirst}, 300, 250, true);
    EXPECT_EQ(SCROLL_WINDOW::iGrab_id, wThird.get_id());
    EXPECT_TRUE(wThird.is_dragging());
    tick({&wThird, &wFirst}, 300, 250, false);
    EXPECT_EQ(SCROLL_WINDOW::iGrab_id, -1);
}

TEST_F(ScrollWindowTest, IdsGrowByOneAndAreNeverReused)
{
    auto pFirst = std::make_unique<SCROLL_WINDOW>();
    const int iFirst = pFirst->get_id();
    EXPECT_EQ(SCROLL_WINDOW::iNext_id, iFirst + 1);
    pFirst.reset();
    SCROLL_WINDOW wSecond;
    EXPECT_EQ(wSecond.get_id(), iFirst + 1);
}

TEST_F(ScrollWindowTest, FailingQueryIsReportedOncePerWindowUntilItSucceeds)
{
    SCROLL_WINDOW w(200, 100);
    SCROLL_WINDOW wOther(200, 100);
    w.set_table("missing", nullptr);
    wOther.set_table("missing", nullptr);
    w.toggle_visible();
    wOther.toggle_visible();
    const std::string sFailure = "ERROR: SQL error: no such table: missing\n";

    EXPECT_EQ(capture_messages([&] {
                  for (int i = 0; i < 5; i++)
                  {
                      w.draw(bmp);
                      wOther.draw(bmp);
                  }
              }),
              sFailure + sFailure);

    w.exec("CREATE TABLE missing(a)");
    EXPECT_EQ(capture_messages([&] { w.draw(bmp); }), "");
    w.exec("DROP TABLE missing");
    EXPECT_EQ(capture_messages([&] {
                  w.draw(bmp);
                  w.draw(bmp);
              }),
              sFailure);

    // Statements are reported every time.
    EXPECT_EQ(capture_messages([&] {
                  w.exec("INSERT INTO missing VALUES(1)");
                  w.exec("INSERT INTO missing VALUES(1)");
              }),
              sFailure + sFailure);
}

TEST_F(ScrollWindowTest, RowsCollectedBeforeAFailureAreDrawn)
{
    SCROLL_WINDOW w(200, 100);
    w.add_column("A", 0);
    w.set_query("SELECT 'x'; SELECT * FROM missing");
    w.toggle_visible();
    std::string sMessages = capture_messages([&] { redraw(w); });
    EXPECT_EQ(sMessages, "ERROR: SQL error: no such table: missing\n");
    EXPECT_TRUE(shows_text(bmp, 230, 200, "x", WHITE));
}

using ScrollWindowDeathTest = ScrollWindowTest;

TEST_F(ScrollWindowDeathTest, DatabaseThatWillNotOpenEndsWithCodeOne)
{
    EXPECT_EXIT_SAYING(SCROLL_WINDOW w(10, 10); w.open_database("no_such_dir/save.db"), 1,
                       "Can't open database: no_such_dir/save.db: unable to open database file");
    fs::remove(SCROLL_WINDOW_DB_PATH);
    fs::remove("data");
    EXPECT_EXIT_SAYING(SCROLL_WINDOW w(10, 10), 1,
                       "Can't open database: ./data/scroll_window.txt: unable to open database file");
}
