#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/map_fixture.h"
#include "world/geometry.h"
#include "world/planet/planet.h"

namespace
{
class EdgeTest : public MAP_TEST
{
};

struct POINT
{
    float x, y;
};
}

TEST_F(EdgeTest, EndsAreOrderedWestToEastTheSecondWinningATie)
{
    struct CASE
    {
        POINT first, second;
        bool bFirst_is_west;
    } cases[] = {
        {{100, 50}, {200, 50}, true},
        {{200, 50}, {100, 50}, false},
        {{100, 100}, {100, 50}, false}, // equal x: the second argument is west
    };
    for (const CASE& c : cases)
    {
        NODE* a = node_at(c.first.x, c.first.y);
        NODE* b = node_at(c.second.x, c.second.y);
        EDGE* e = link(a, b);
        EXPECT_EQ(e->get_west(), c.bFirst_is_west ? a : b) << c.first.x << " " << c.second.x;
        EXPECT_EQ(e->get_east(), c.bFirst_is_west ? b : a) << c.first.x << " " << c.second.x;
        EDGE eUntyped(a, b);
        EXPECT_EQ(eUntyped.get_west(), e->get_west());
        EXPECT_EQ(eUntyped.get_waypoint(), nullptr);
    }
}

TEST_F(EdgeTest, WaypointLiesAtTheWrapAwareMidpointWhicheverEndComesFirst)
{
    struct CASE
    {
        POINT a, b, mid;
    } cases[] = {
        {{630, 100}, {20, 100}, {5, 100}},  // across the seam
        {{300, 50}, {310, 60}, {305, 55}},  // direct
        {{0, 100}, {320, 100}, {480, 100}}, // a tie goes across the seam
        {{10, 200}, {630, 200}, {0, 200}},
    };
    for (const CASE& c : cases)
    {
        for (bool bSwap : {false, true})
        {
            NODE* a = node_at(c.a.x, c.a.y);
            NODE* b = node_at(c.b.x, c.b.y);
            EDGE* e = bSwap ? link(b, a) : link(a, b);
            NODE* w = e->get_waypoint();
            ASSERT_NE(w, nullptr);
            EXPECT_FLOAT_EQ(w->get_x(), c.mid.x) << c.a.x << "," << c.b.x << " swap " << bSwap;
            EXPECT_FLOAT_EQ(w->get_y(), c.mid.y) << c.a.x << "," << c.b.x << " swap " << bSwap;
            EXPECT_TRUE(w->l_Edges.empty());
            EXPECT_EQ(std::find(map->l_Nodes.begin(), map->l_Nodes.end(), w), map->l_Nodes.end());
        }
    }
}

TEST_F(EdgeTest, WrapAwareGeometry)
{
    EXPECT_NEAR(EDGE::wrapped_distance(630, 100, 20, 300), 202.2375, 1e-3);
    EXPECT_FLOAT_EQ(EDGE::wrapped_distance(300, 50, 303, 54), 5.0f);
    // Past the seam, as a traveller's x runs: |dx| counts.
    EXPECT_FLOAT_EQ(EDGE::wrapped_distance(630, 100, 645, 100), 15.0f);

    NODE* a = node_at(630, 100);
    NODE* b = node_at(20, 100);
    NODE* c = node_at(300, 300);
    EDGE* e = link(a, b);
    EXPECT_FLOAT_EQ(e->length(), 30.0f);
    EXPECT_EQ(e->other_end(a), b);
    EXPECT_EQ(e->other_end(b), a);
    EXPECT_EQ(e->other_end(c), nullptr);
    EXPECT_TRUE(e->connects(a, b));
    EXPECT_TRUE(e->connects(b, a));
    EXPECT_FALSE(e->connects(a, c));
    EXPECT_FLOAT_EQ(e->wrap_offset(1), 640.0f);
    EXPECT_FLOAT_EQ(e->wrap_offset(-1), -640.0f);
    EXPECT_FLOAT_EQ(link(c, node_at(310, 300))->wrap_offset(1), 0.0f);
}

// Every caller's way across the seam: the edge's ends come west to east, the traveller's
// token may stand past the seam, the distance records take either order.
TEST(SeamDistance, TakesTheGapAsAbsoluteWhicheverPointComesFirst)
{
    struct CASE
    {
        POINT a, b;
        float fExpected;
    } cases[] = {
        {{10, 200}, {600, 200}, 50.0f},
        {{630, 100}, {20, 300}, 202.2375f},  // (30, 200)
        {{630, 100}, {645, 100}, 625.0f},    // a token 5 past the seam
        {{-10, 50}, {630, 50}, 0.0f},        // a world width apart: the same place
        {{320, 0}, {0, 0}, 320.0f},          // half a world width: both ways alike
    };
    for (const CASE& c : cases)
    {
        EXPECT_NEAR(seam_distance(c.a.x, c.a.y, c.b.x, c.b.y), c.fExpected, 1e-3) << c.a.x << "," << c.b.x;
        EXPECT_EQ(seam_distance(c.a.x, c.a.y, c.b.x, c.b.y), seam_distance(c.b.x, c.b.y, c.a.x, c.a.y))
            << c.a.x << "," << c.b.x;
    }
}

TEST_F(EdgeTest, DestinationIsTheWaypointUntilTheTravellerIsAsFarAsIt)
{
    NODE* a = node_at(100, 100);
    NODE* b = node_at(140, 100);
    EDGE* e = link(a, b);
    NODE* w = e->get_waypoint();
    EXPECT_EQ(e->destination(a, 100, 100), w);
    EXPECT_EQ(e->destination(a, 119.5f, 100), w);
    EXPECT_EQ(e->destination(a, 120, 100), b); // exactly at the waypoint
    EXPECT_EQ(e->destination(b, 140, 100), w);
    EXPECT_EQ(e->destination(b, 110, 100), a);

    // Not an end: said, and no target, so the traveller stays.
    NODE* c = node_at(300, 300);
    NODE* t = w;
    std::string sOut = capture_messages([&] { t = e->destination(c, 100, 100); });
    EXPECT_EQ(sOut, "ERROR: EDGE::destination(n, X, Y)");
    EXPECT_EQ(t, nullptr);
}

TEST_F(EdgeTest, UpdateUnblocksOnceBothEndsAreRevealedAndTicksTheWaypointWeather)
{
    NODE* a = node_at(100, 100);
    NODE* b = node_at(140, 100);
    EDGE* e = link(a, b, EDGE_LOCKED);
    e->block();
    a->bRevealed = true;
    e->update();
    EXPECT_FALSE(e->is_open());
    EXPECT_TRUE(e->get_waypoint()->get_weather()->get_text().size() > 0);
    b->bRevealed = true;
    e->update();
    EXPECT_TRUE(e->is_open());
    EXPECT_EQ(e->get_type(), EDGE_LOCKED); // open, yet still locked to moves
}

TEST_F(EdgeTest, ResetStateAndNullEnds)
{
    EDGE eBare;
    EXPECT_EQ(eBare.get_type(), EDGE_NORMAL);
    EXPECT_EQ(eBare.get_west(), nullptr);
    EXPECT_EQ(eBare.get_east(), nullptr);
    EXPECT_EQ(eBare.get_waypoint(), nullptr);
    EXPECT_TRUE(eBare.is_open());

    NODE* a = node_at(100, 100);
    const int iIds = node_counter;
    EDGE eHalf(a, nullptr, EDGE_LOCKED);
    EXPECT_EQ(eHalf.get_type(), EDGE_NORMAL);
    EXPECT_EQ(eHalf.get_waypoint(), nullptr);
    EXPECT_EQ(node_counter, iIds);

    eBare.set_type(EDGE_LOCKED);
    eBare.block();
    EXPECT_FALSE(eBare.is_open());
    eBare.unblock();
    EXPECT_TRUE(eBare.is_open());
    EXPECT_EQ(eBare.get_type(), EDGE_LOCKED);
}

namespace
{
// The planet's cells are read by the waypoint while one exists.
class EdgePlanetTest : public EdgeTest
{
protected:
    void SetUp() override
    {
        EdgeTest::SetUp();
        pPlanet.reset(new PLANET());
        world()->set_planet(pPlanet.get());
    }
    void TearDown() override
    {
        world()->set_planet(nullptr);
        pPlanet.reset();
        EdgeTest::TearDown();
    }
    std::unique_ptr<PLANET> pPlanet;
};
}

TEST_F(EdgePlanetTest, WaypointTakesTheCellUnderItWithThreeDrawsAndItsWeather)
{
    CELL* pCell = pPlanet->get_cell(305, 55);
    *pCell = make_cell(14000, 71.5f, 3);
    NODE* a = node_at(300, 50);
    NODE* b = node_at(310, 60);
    const int iId = node_counter;

    // Difficulty, then B, then A; the weather's own construction follows (6 draws here).
    const std::vector<int> v_Draws = draws_of(77, 9);
    random_seed(77);
    EDGE* e = link(a, b);
    EXPECT_EQ(random_draw_count(), 9);

    NODE* w = e->get_waypoint();
    EXPECT_EQ(w->get_id(), iId);
    EXPECT_EQ(w->get_height(), 14000);
    EXPECT_EQ(w->get_landmass(), 3);
    EXPECT_EQ(w->get_difficulty(), v_Draws[0] % 10 + 20);
    EXPECT_FLOAT_EQ(w->get_weather()->get_param_b(), (float)(v_Draws[1] % 100));
    EXPECT_FLOAT_EQ(w->get_weather()->get_param_a(), (float)(v_Draws[2] % 100));
    EXPECT_FLOAT_EQ(w->get_weather()->get_temperature(), 71.5f);
    // The copy is the waypoint's own.
    pCell->iHeight = 0;
    EXPECT_EQ(w->get_height(), 14000);
    EXPECT_EQ(rows(save_db, ("SELECT * FROM nodes WHERE Node_ID = " + std::to_string(iId)).c_str()),
              std::vector<std::string>{std::to_string(iId)});
}

TEST_F(EdgePlanetTest, AWaypointOffTheGridIsSaidAndReadsTheNearestCell)
{
    *pPlanet->get_cell(100, 479) = make_cell(9000);
    NODE* a = node_at(100, 500);
    NODE* b = node_at(100, 520);
    random_seed(5);
    EDGE* e = nullptr;
    std::string sOut = capture_messages([&] { e = link(a, b); });
    EXPECT_EQ(sOut, "ERROR:  EDGE(n1, n2, es)");
    EXPECT_EQ(random_draw_count(), 9);
    EXPECT_EQ(e->get_waypoint()->get_height(), 9000);
    EXPECT_FLOAT_EQ(e->get_waypoint()->get_y(), 510);
}

TEST_F(EdgeTest, WithoutAPlanetTheWaypointGetsAFreshCellAndTheSameDraws)
{
    NODE* a = node_at(300, 50);
    NODE* b = node_at(310, 60);
    const std::vector<int> v_Draws = draws_of(77, 3);
    random_seed(77);
    EDGE* e = link(a, b);
    EXPECT_EQ(random_draw_count(), 9);
    EXPECT_EQ(e->get_waypoint()->get_height(), 0);
    EXPECT_EQ(e->get_waypoint()->get_difficulty(), v_Draws[0] % 10);
}
