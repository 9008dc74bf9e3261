#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <list>
#include <string>
#include <vector>

#include "framework/colours.h"
#include "tests/map_fixture.h"
#include "world/weather/weather_condition.h"

namespace
{
// While it lives the weather conditions are "Sandstorm" on desert cells and "Drizzle"
// elsewhere, each fitting every A, B and temperature.
class DESERT_CONDITIONS
{
public:
    DESERT_CONDITIONS()
        : wcSand{"Sandstorm", 0, 100, 0, 100, -1000, 1000, 1, 0},
          wcRain{"Drizzle", 0, 100, 0, 100, -1000, 1000, 2, 0}
    {
        l_Saved.swap(weather_conditions);
        weather_conditions = {&wcSand, &wcRain};
    }
    ~DESERT_CONDITIONS() { weather_conditions.swap(l_Saved); }
    DESERT_CONDITIONS(const DESERT_CONDITIONS&) = delete;
    DESERT_CONDITIONS& operator=(const DESERT_CONDITIONS&) = delete;

private:
    WEATHER_CONDITION wcSand;
    WEATHER_CONDITION wcRain;
    std::list<WEATHER_CONDITION*> l_Saved;
};

class TravellerTest : public MAP_TEST
{
protected:
    // The token on s, sent toward n along their edge as a click would.
    EDGE* set_off(NODE* s, NODE* n)
    {
        EDGE* e = map->find_edge(s, n);
        if (e == nullptr)
            e = link(s, n);
        place_player(s);
        n->bRevealed = true;
        map->move_position(n);
        return e;
    }
    // Logic ticks until the calendar stops (arrival); the token's x after each tick.
    std::vector<float> travel()
    {
        std::vector<float> v_X;
        for (int i = 0; i < 5000 && CALENDAR::instance()->is_running(); ++i)
        {
            ++game_time;
            map->update();
            v_X.push_back(traveller()->get_x());
            v_Offsets.push_back(traveller()->get_x_offset());
            v_Dest.push_back(traveller()->fDest_x);
        }
        return v_X;
    }
    TRAVELLER* traveller() { return map->tTraveller; }
    static bool contains(const std::vector<float>& v, float f)
    {
        return std::find(v.begin(), v.end(), f) != v.end();
    }
    std::vector<float> v_Offsets;
    std::vector<float> v_Dest;
};
}

TEST_F(TravellerTest, ANewTokenStandsAtTheOriginWithItsOwnBlankWeather)
{
    TRAVELLER* t = traveller();
    EXPECT_FLOAT_EQ(t->get_x(), 0);
    EXPECT_FLOAT_EQ(t->get_y(), 0);
    EXPECT_EQ(t->get_state(), TRAVELLER_AT_NODE);
    EXPECT_EQ(t->get_node(), nullptr);
    EXPECT_EQ(t->get_edge(), nullptr);
    EXPECT_EQ(t->current_node_id(), -1);
    EXPECT_FALSE(t->is_moving());
    ASSERT_NE(t->bmpSprite, nullptr);
    EXPECT_FLOAT_EQ(t->get_weather()->get_param_a(), 0);
    EXPECT_FLOAT_EQ(t->get_weather()->get_param_b(), 0);
    EXPECT_FLOAT_EQ(t->get_weather()->get_temperature(), 0);
    NODE* n = node_at(10, 10);
    t->set_node(n);
    EXPECT_EQ(t->current_node_id(), n->get_id());
}

TEST_F(TravellerTest, ALegAcrossTheSeamRunsPastXSixHundredFortyAndArrivesWrapped)
{
    NODE* s = node_at(630, 100);
    NODE* n = node_at(20, 100);
    set_off(s, n);
    EXPECT_TRUE(CALENDAR::instance()->is_running());
    EXPECT_FLOAT_EQ(traveller()->get_x_offset(), -640);

    std::vector<float> v_X = travel();
    ASSERT_GE(v_X.size(), 2u);
    v_X.pop_back(); // the arrival tick reads back 20
    EXPECT_TRUE(std::is_sorted(v_X.begin(), v_X.end()));
    EXPECT_GT(v_X.front(), 630);
    EXPECT_LT(v_X.back(), 660);
    EXPECT_TRUE(contains(v_X, 645)); // the waypoint (5, 100), unwrapped
    EXPECT_TRUE(contains(v_Dest, 660)); // then on toward (20, 100), unwrapped

    EXPECT_FALSE(CALENDAR::instance()->is_running());
    EXPECT_FLOAT_EQ(traveller()->get_x(), 20);
    EXPECT_FLOAT_EQ(traveller()->get_y(), 100);
    EXPECT_FLOAT_EQ(traveller()->get_x_offset(), 0);
    EXPECT_EQ(traveller()->get_node(), n);
    EXPECT_EQ(traveller()->get_state(), TRAVELLER_AT_NODE);
    EXPECT_FALSE(traveller()->is_moving());
    EXPECT_FLOAT_EQ(CAMERA::current()->get_x(), 20); // jumps to the token
    EXPECT_FLOAT_EQ(CAMERA::current()->get_y(), 100);
}

TEST_F(TravellerTest, ALegWestwardReachesTheWaypointAtZeroThenCrossesTheSeam)
{
    NODE* s = node_at(10, 200);
    NODE* n = node_at(630, 200);
    set_off(s, n);
    EXPECT_FLOAT_EQ(traveller()->get_x_offset(), 0); // toward (0, 200), no shift

    std::vector<float> v_X = travel();
    v_X.pop_back();
    EXPECT_TRUE(std::is_sorted(v_X.rbegin(), v_X.rend()));
    EXPECT_TRUE(contains(v_X, 0));
    EXPECT_GT(v_X.back(), -10);
    EXPECT_TRUE(contains(v_Dest, -10));
    EXPECT_TRUE(std::find(v_Offsets.begin(), v_Offsets.end(), 640.0f) != v_Offsets.end());
    EXPECT_FLOAT_EQ(traveller()->get_x(), 630);
    EXPECT_EQ(traveller()->get_node(), n);
}

TEST_F(TravellerTest, ALegWhoseFirstHalfCrossesTheSeamGoesOnPastTheWaypoint)
{
    // The waypoint (545.1, 100) is reached at its copy x -94.9, whose distance from s comes
    // out a rounding short of the waypoint's own.
    NODE* s = node_at(50.2f, 100);
    NODE* n = node_at(400, 100);
    EDGE* e = set_off(s, n);
    NODE* w = e->get_waypoint();
    EXPECT_NEAR(w->get_x(), 545.1f, 1e-3);
    EXPECT_EQ(e->destination(s, w->get_x() - 640, w->get_y()), n);

    travel();
    EXPECT_TRUE(contains(v_Dest, w->get_x() - 640));
    EXPECT_EQ(traveller()->get_node(), n);
    EXPECT_NEAR(traveller()->get_x(), 400, 1e-3);
    EXPECT_FLOAT_EQ(traveller()->get_y(), 100);
}

TEST_F(TravellerTest, EachHalfOfASeamCrossingLegIsWalkedAtItsOwnSpeed)
{
    // Difficulty 0 throughout: 1.5 a tick (0.5 on the first), so each 15-unit half-leg
    // takes about ten ticks, and the arrival one more. A half-leg whose ends lie on either
    // side of the seam still measures 15 across it.
    struct CASE
    {
        float fFrom, fTo;
        int iTicks;
    } cases[] = {
        {630, 20, 22}, // east: the waypoint at 5, the second half from 645 to 660
        {10, 620, 22}, // west: the waypoint at 635, the second half from -5 to -20
    };
    for (const CASE& c : cases)
    {
        NODE* s = node_at(c.fFrom, 100);
        NODE* n = node_at(c.fTo, 100);
        EDGE* e = link(s, n);
        for (NODE* p : {s, n, e->get_waypoint()})
            p->iDifficulty = 0;
        set_off(s, n);
        std::vector<float> v_X{traveller()->get_x()};
        for (float x : travel())
            v_X.push_back(x);
        EXPECT_EQ((int)v_X.size() - 1, c.iTicks) << c.fFrom;
        v_X.pop_back(); // the arrival tick reads back the wrapped x
        for (size_t i = 1; i < v_X.size(); ++i)
            EXPECT_LE(std::fabs(v_X[i] - v_X[i - 1]), 1.5f + 1e-4f) << c.fFrom << " tick " << i;
        EXPECT_EQ(traveller()->get_node(), n);
        EXPECT_FLOAT_EQ(traveller()->get_x(), c.fTo);
    }
}

TEST_F(TravellerTest, TheTokensWeatherChoosesItsConditionWhileStandingAtItsNode)
{
    NODE* s = node_at(100, 100);
    place_player(s);
    EXPECT_TRUE(traveller()->get_weather()->get_text().empty());
    ++game_time;
    map->update();
    EXPECT_EQ(traveller()->get_state(), TRAVELLER_AT_NODE);
    EXPECT_FALSE(CALENDAR::instance()->is_running());
    EXPECT_FALSE(traveller()->get_weather()->get_text().empty());
}

TEST_F(TravellerTest, TheNightRuleSleepsOnlyWhenHeadingForLand)
{
    struct CASE
    {
        int iHour, iHeight, iState;
    } cases[] = {
        {5, 6000, TRAVELLER_SLEEPING},    {6, 6000, TRAVELLER_TRAVELLING},
        {19, 6000, TRAVELLER_TRAVELLING}, {20, 6000, TRAVELLER_SLEEPING},
        {20, 5000, TRAVELLER_TRAVELLING}, {20, 5001, TRAVELLER_SLEEPING},
        {0, 0, TRAVELLER_TRAVELLING},
    };
    for (const CASE& c : cases)
    {
        NODE* s = node_at(100, 100);
        NODE* n = node_at(140, 100);
        EDGE* e = link(s, n);
        e->get_waypoint()->pCell->iHeight = c.iHeight; // the first target
        set_off(s, n);
        CALENDAR::instance()->iHour = c.iHour;
        traveller()->travel_step();
        EXPECT_EQ(traveller()->get_state(), c.iState) << c.iHour << " " << c.iHeight;
        EXPECT_TRUE(CALENDAR::instance()->is_running());
        traveller()->iState = TRAVELLER_AT_NODE;
    }
}

TEST_F(TravellerTest, ASleepingTokenStaysHaltedAndSetsOffAgainInTheMorning)
{
    NODE* s = node_at(100, 100);
    NODE* n = node_at(140, 100);
    EDGE* e = link(s, n);
    e->get_waypoint()->pCell->iHeight = 6000;
    set_off(s, n);
    CALENDAR::instance()->iHour = 22;
    for (int i = 0; i < 3; ++i)
    {
        ++game_time;
        map->update();
        EXPECT_EQ(traveller()->get_state(), TRAVELLER_SLEEPING);
        EXPECT_TRUE(traveller()->is_moving()); // halted, so clicks stay refused
        EXPECT_FLOAT_EQ(traveller()->get_vx(), 0);
        EXPECT_TRUE(CALENDAR::instance()->is_running());
    }
    const float fSlept_at = traveller()->get_x();
    ++game_time;
    map->update();
    EXPECT_FLOAT_EQ(traveller()->get_x(), fSlept_at);

    CALENDAR::instance()->iHour = 6;
    ++game_time;
    map->update();
    EXPECT_EQ(traveller()->get_state(), TRAVELLER_TRAVELLING);
    EXPECT_GT(traveller()->get_vx(), 0);
    ++game_time;
    map->update();
    EXPECT_GT(traveller()->get_x(), fSlept_at);
}

TEST_F(TravellerTest, SpeedFallsWithTheBlendedDifficulty)
{
    // Leaving s the token carries the waypoint's difficulty, not its own node's.
    struct CASE
    {
        int iFrom, iTo;
        float fSpeed;
    } cases[] = {{0, 0, 1.5f},     {10, 10, 0.8333333f}, {15, 15, 0.5f}, {20, 20, 0.1666667f},
                 {21, 21, 0.125f}, {25, 25, 0.125f},     {0, 15, 0.5f},  {15, 0, 1.5f}};
    for (const CASE& c : cases)
    {
        NODE* s = node_at(100, 100);
        NODE* n = node_at(140, 130); // 50 long: 40 across, 30 down
        EDGE* e = link(s, n);
        s->iDifficulty = c.iFrom;
        e->get_waypoint()->iDifficulty = c.iTo;
        set_off(s, n);
        traveller()->travel_step();
        const float fSpeed = std::hypot(traveller()->get_vx(), traveller()->get_vy());
        EXPECT_NEAR(fSpeed, c.fSpeed, 1e-5) << c.iFrom << " to " << c.iTo;
        EXPECT_NEAR(traveller()->get_vy() / traveller()->get_vx(), 0.75f, 1e-5);
        CALENDAR::instance()->stop();
        traveller()->iState = TRAVELLER_AT_NODE;
    }
}

TEST_F(TravellerTest, TheTokensWeatherShowsWhereItIsHeadingAsItLeaves)
{
    NODE* s = node_at(100, 100);
    NODE* n = node_at(140, 100);
    EDGE* e = link(s, n);
    NODE* w = e->get_waypoint();
    auto set_weather = [](NODE* node, float a, float b, float t) {
        node->get_weather()->set_param_a(a);
        node->get_weather()->set_param_b(b);
        node->get_weather()->set_temperature(t);
    };
    set_weather(s, 10, 20, 30);
    set_weather(w, 70, 80, 90);
    set_weather(n, 40, 50, 60);
    set_off(s, n);
    WEATHER* pShown = traveller()->get_weather();

    struct CASE
    {
        float x, a, b, t;
    } cases[] = {
        {100, 70, 80, 90}, // leaving s: the waypoint's
        {119, 13, 23, 33}, // 1 of 20 from the waypoint: almost s's
        {120, 40, 50, 60}, // leaving the waypoint: the far end's
    };
    for (const CASE& c : cases)
    {
        traveller()->fX = c.x;
        traveller()->move_along_edge(false);
        EXPECT_FLOAT_EQ(pShown->get_param_a(), c.a) << c.x;
        EXPECT_FLOAT_EQ(pShown->get_param_b(), c.b) << c.x;
        EXPECT_FLOAT_EQ(pShown->get_temperature(), c.t) << c.x;
    }
}

TEST_F(TravellerTest, TheTokensConditionIsChosenForTheGroundItHeadsFor)
{
    // Every weather fits one of the two conditions, which one by the desert flag alone.
    DESERT_CONDITIONS dcConditions;
    NODE* s = node_at(100, 100);
    NODE* n = node_at(140, 100);
    EDGE* e = link(s, n);
    e->get_waypoint()->pCell->bDesert = 1;
    set_off(s, n);
    ++game_time;
    map->update();
    EXPECT_EQ(traveller()->get_weather()->get_text(), "Sandstorm");
    EXPECT_EQ(s->get_weather()->get_text(), "Drizzle");
}

TEST_F(TravellerTest, StandingAtTheTargetAlreadyStartsNothing)
{
    NODE* s = node_at(100, 100);
    NODE* n = node_at(140, 100);
    EDGE* e = link(s, n);
    place_player(s);
    traveller()->ENTITY::set_position(140, 100); // at the far end, past the waypoint
    traveller()->start_travel(s, e);
    EXPECT_FALSE(traveller()->is_moving());
    EXPECT_FALSE(CALENDAR::instance()->is_running());
    EXPECT_EQ(traveller()->get_edge(), e);
}

TEST_F(TravellerTest, AnEdgeWithoutTheTokensNodeLeavesItWhereItIs)
{
    NODE* s = node_at(100, 100);
    NODE* a = node_at(300, 100);
    NODE* b = node_at(340, 100);
    EDGE* e = link(a, b);
    place_player(s);
    std::string sOut = capture_messages([&] { traveller()->start_travel(s, e); });
    EXPECT_EQ(sOut, "ERROR: EDGE::destination(n, X, Y)");
    EXPECT_FALSE(traveller()->is_moving());
    EXPECT_FALSE(CALENDAR::instance()->is_running());
    EXPECT_FLOAT_EQ(traveller()->get_x(), 100);
}

TEST_F(TravellerTest, AnEdgeOfNoLengthNeverMovesTheTokenToNowhere)
{
    NODE* s = node_at(100, 100);
    NODE* n = node_at(100, 100);
    set_off(s, n);
    ++game_time;
    map->update();
    EXPECT_FLOAT_EQ(traveller()->get_x(), 100);
    EXPECT_FLOAT_EQ(traveller()->get_y(), 100);
    EXPECT_FALSE(CALENDAR::instance()->is_running());
}

TEST_F(TravellerTest, TheSpriteIsCentredUnscaledOnTheTokenAtEachCopy)
{
    BITMAP* bmp = make_test_bitmap(640, 480, GRAY);
    BITMAP* bmpSprite = traveller()->bmpSprite;
    traveller()->ENTITY::set_position(100, 100);
    struct CASE
    {
        float fCamera_x, fCamera_y, fZoom;
        int iScreen_x, iScreen_y; // where the token shows
    } cases[] = {
        {320, 240, 1, 100, 100},  // the token itself
        {960, 240, 1, 100, 100},  // its copy at +640
        {-320, 240, 1, 100, 100}, // its copy at -640
        {100, 100, 3, 320, 240},  // zoomed: still drawn at its own size
    };
    for (const CASE& c : cases)
    {
        clear_to_color(bmp, GRAY);
        CAMERA::current()->reset(c.fCamera_x, c.fCamera_y);
        CAMERA::current()->set_scale(c.fZoom);
        traveller()->draw(bmp);
        int iDrawn = 0;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                iDrawn += getpixel(bmp, x, y) != GRAY;
        int iOpaque = 0;
        for (int y = 0; y < bmpSprite->h; ++y)
            for (int x = 0; x < bmpSprite->w; ++x)
            {
                int iSprite = getpixel(bmpSprite, x, y);
                if (iSprite == MAGENTA)
                    continue;
                ++iOpaque;
                EXPECT_EQ(getpixel(bmp, c.iScreen_x - 8 + x, c.iScreen_y - 8 + y), iSprite) << c.fCamera_x;
            }
        EXPECT_EQ(iDrawn, iOpaque) << c.fCamera_x; // one copy on screen, mask left out
    }
    destroy_bitmap(bmp);
}

TEST_F(TravellerTest, TheStatusLineSaysTravellingOrSleeping)
{
    BITMAP* bmp = make_test_bitmap(640, 480, GRAY);
    BITMAP* bmpExpected = make_test_bitmap(640, 480, GRAY);
    struct CASE
    {
        int iState;
        const char* sText;
    } cases[] = {{TRAVELLER_TRAVELLING, "Traveling..."}, {TRAVELLER_SLEEPING, "Sleeping..."}};
    for (const CASE& c : cases)
    {
        clear_to_color(bmp, GRAY);
        clear_to_color(bmpExpected, GRAY);
        traveller()->iState = c.iState;
        traveller()->draw_status(bmp, 5.0f, 445.0f, map);
        traveller()->get_weather()->draw(bmpExpected, 0);
        textprintf_ex(bmpExpected, font, 6, 451, BLACK, -1, "%s", c.sText);
        textprintf_ex(bmpExpected, font, 5, 450, YELLOW, -1, "%s", c.sText);
        for (int y = 440; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                ASSERT_EQ(getpixel(bmp, x, y), getpixel(bmpExpected, x, y)) << c.sText << " " << x << "," << y;
    }
    destroy_bitmap(bmp);
    destroy_bitmap(bmpExpected);
}

TEST_F(TravellerTest, AtANodeTheStatusLineShowsTheNodeWithItsLandmassName)
{
    NODE* n = node_at(100, 100, make_cell(6000, 60, 3));
    *n->sName = "Harrow";
    map->add_landmass(3);
    place_player(n);
    BITMAP* bmp = make_test_bitmap(640, 480, GRAY);
    BITMAP* bmpExpected = make_test_bitmap(640, 480, GRAY);
    BITMAP* bmpNameless = make_test_bitmap(640, 480, GRAY);
    traveller()->draw_status(bmp, 5.0f, 445.0f, map);
    for (BITMAP* b : {bmpExpected, bmpNameless})
        traveller()->get_weather()->draw(b, 0);
    n->draw_info(bmpExpected, 5.0f, 445.0f, map->l_Landmasses.front()->strName);
    n->draw_info(bmpNameless, 5.0f, 445.0f, nullptr);
    EXPECT_TRUE(same_pixels(bmp, bmpExpected));
    EXPECT_FALSE(same_pixels(bmp, bmpNameless));
    for (BITMAP* b : {bmp, bmpExpected, bmpNameless})
        destroy_bitmap(b);
}
