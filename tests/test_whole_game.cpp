// The whole game without a screen: one seeded start on the game's real data tree, then play
// driven by faked mouse input through the scene, as the main loop drives it. Each test plays
// on from wherever the player stands.

#include <gtest/gtest.h>

#include <cmath>
#include <list>
#include <string>
#include <vector>

#include "framework/camera.h"
#include "framework/colours.h"
#include "tests/game_fixture.h"
#include "world/calendar/calendar.h"
#include "world/map/edge.h"
#include "world/map/map.h"
#include "world/map/node.h"
#include "world/map/quest.h"
#include "world/map/traveller.h"
#include "world/save_database.h"
#include "world/world.h"

namespace
{
// A start whose node has a locked edge, so the generation makes the first quest.
const unsigned int GAME_SEED = 1;

class WholeGameTest : public GAME_TEST
{
protected:
    static void SetUpTestSuite()
    {
        start_game(GAME_SEED, 100);
        // The first pass of the main loop: the zoom snaps to 3.
        pass();
    }
};
}

TEST_F(WholeGameTest, AStartBuildsTheWorldAroundThePlayersNode)
{
    ASSERT_TRUE(world()->is_generated());
    ASSERT_EQ(world()->get_maps().size(), 1u);
    EXPECT_EQ(world()->get_planet(), nullptr);
    ASSERT_NE(world()->get_background(), nullptr);
    EXPECT_EQ(world()->get_background()->w, 1024);
    EXPECT_EQ((int)map()->l_Nodes.size(), 100);

    NODE* nStart = map()->nPlayer_node;
    ASSERT_NE(nStart, nullptr);
    EXPECT_TRUE(nStart->has_player());
    EXPECT_TRUE(nStart->is_start());
    EXPECT_EQ(token()->get_node(), nStart);
    EXPECT_FLOAT_EQ(token()->get_x(), nStart->fX);
    for (NODE* n : nStart->neighbours())
        EXPECT_TRUE(n->is_revealed());
    EXPECT_EQ(count_rows("SELECT COUNT(*) FROM nodes"), node_counter);

    // After the first pass the zoom is 3; the frame shows the player's blue rings, 12 to 14
    // pixels round the centre.
    CAMERA* c = CAMERA::current();
    EXPECT_FLOAT_EQ(c->get_zoom(), 3.0f);
    EXPECT_FLOAT_EQ(c->get_x(), nStart->fX);
    s_pScene->draw(s_bmpBuffer);
    int iBlue = 0;
    for (int y = 220; y <= 260; ++y)
        for (int x = 300; x <= 340; ++x)
        {
            const float r = std::hypot((float)(x - 320), (float)(y - 240));
            iBlue += r >= 11.5f && r <= 14.5f && getpixel(s_bmpBuffer, x, y) == BLUE;
        }
    EXPECT_GT(iBlue, 120);
    clear_bitmap(s_bmpBuffer);
}

TEST_F(WholeGameTest, AClickOnANeighbourWalksTheTokenThereUnderTheCalendar)
{
    CALENDAR* pCalendar = CALENDAR::instance();
    NODE* nFrom = map()->nPlayer_node;
    ASSERT_NE(nFrom, nullptr);
    std::list<NODE*> l_Next = nFrom->passable_neighbours();
    ASSERT_FALSE(l_Next.empty());
    NODE* nTo = l_Next.front();
    const int iMinutes_before = pCalendar->iTotal_days * 1440 + pCalendar->iHour * 60 + pCalendar->iMinute;

    click_on(nTo);
    // The marker moves at the click, the token sets off with the calendar.
    EXPECT_TRUE(nTo->has_player());
    EXPECT_FALSE(nFrom->has_player());
    EXPECT_EQ(map()->nPlayer_node, nTo);
    EXPECT_TRUE(token()->is_moving());
    EXPECT_TRUE(pCalendar->is_running());
    EXPECT_EQ(token()->get_node(), nFrom);

    pass_until_at_node();
    EXPECT_EQ(token()->get_node(), nTo);
    EXPECT_FLOAT_EQ(token()->get_x(), nTo->fX);
    EXPECT_FLOAT_EQ(token()->get_y(), nTo->fY);
    EXPECT_FALSE(pCalendar->is_running());
    EXPECT_GT(pCalendar->iTotal_days * 1440 + pCalendar->iHour * 60 + pCalendar->iMinute, iMinutes_before);
    EXPECT_TRUE(nTo->is_visited());
    for (NODE* n : nTo->neighbours())
        EXPECT_TRUE(n->is_revealed());

    // Back and forth until a day has passed under way: then every node's weather has written
    // its row, one a day.
    for (int i = 0; i < 40 && count_rows("SELECT COUNT(*) FROM node_weather") == 0; ++i)
        travel_to(i % 2 == 0 ? nFrom : nTo);
    EXPECT_GT(count_rows("SELECT COUNT(*) FROM node_weather"), 0);
    EXPECT_EQ(count_rows("SELECT COUNT(*) FROM node_weather"),
              count_rows("SELECT COUNT(*) FROM (SELECT DISTINCT Node_ID, Day FROM node_weather)"));
    EXPECT_EQ(count_rows("SELECT COUNT(*) FROM node_weather WHERE Node_ID NOT IN (SELECT Node_ID FROM nodes)"), 0);
}

TEST_F(WholeGameTest, ALockedEdgeAtThePlayersNodeGivesAQuestThatReachingItsTargetCompletes)
{
    // A locked edge behind which the player has not looked yet: the start's own when the seed
    // gave one, else one made so.
    NODE* nPlayer = map()->nPlayer_node;
    ASSERT_NE(nPlayer, nullptr);
    if (world()->get_quests().empty())
    {
        EDGE* e = nullptr;
        for (EDGE* eEdge : nPlayer->l_Edges)
            if (eEdge->is_open() && eEdge->get_type() == EDGE_NORMAL && nPlayer->passable_neighbours().size() > 1)
                e = eEdge;
        ASSERT_NE(e, nullptr);
        e->set_type(EDGE_LOCKED);
        e->other_end(nPlayer)->bRevealed = false;
        nPlayer->reveal_neighbours();
    }
    ASSERT_FALSE(world()->get_quests().empty());
    QUEST* q = world()->get_quests().front();
    EDGE* eLocked = q->eLocked;
    NODE* nTarget = q->nTarget;
    const int iQuest_id = q->get_id();
    EXPECT_EQ(eLocked->get_type(), EDGE_LOCKED);
    EXPECT_EQ(rows(save_db, ("SELECT vcQuest, vcLocked FROM quests WHERE Quest_ID = " +
                             std::to_string(iQuest_id)).c_str()),
              std::vector<std::string>{std::string(nTarget->get_name()) + "|" + q->nLocked->get_name()});
    bool bTold = false;
    for (std::string* s : world()->get_messages())
        bTold = bTold || s->find("Travel to ") == 0;
    EXPECT_TRUE(bTold);

    // Walk there, a neighbour at a time; the quest completes when the marker is on the target.
    std::vector<NODE*> v_Way = way_to(nTarget);
    ASSERT_TRUE(!v_Way.empty() || nTarget == map()->nPlayer_node);
    for (NODE* n : v_Way)
    {
        travel_to(n);
        ASSERT_EQ(token()->get_node(), n);
    }
    if (v_Way.empty())
        pass();
    EXPECT_EQ(eLocked->get_type(), EDGE_UNLOCKED);
    for (QUEST* qOpen : world()->get_quests())
        EXPECT_NE(qOpen->get_id(), iQuest_id);
    EXPECT_EQ(*world()->get_messages().back(), "Quest to " + std::string(nTarget->get_name()) + " complete!");
    // The row stays.
    EXPECT_EQ(count_rows(("SELECT COUNT(*) FROM quests WHERE Quest_ID = " + std::to_string(iQuest_id)).c_str()), 1);
}
