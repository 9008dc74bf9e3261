// The whole game without a screen: one seeded start on the game's real data tree, then play
// driven by faked mouse input through the scene, as the main loop drives it. Each test plays
// on from wherever the player stands.

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cmath>
#include <filesystem>
#include <list>
#include <map>
#include <string>
#include <vector>

#include "framework/camera.h"
#include "framework/colours.h"
#include "framework/config.h"
#include "framework/image_cache.h"
#include "framework/random.h"
#include "tests/headless.h"
#include "tests/save_fixture.h"
#include "world/calendar/calendar.h"
#include "world/game.h"
#include "world/map/edge.h"
#include "world/map/map.h"
#include "world/map/node.h"
#include "world/map/quest.h"
#include "world/map/traveller.h"
#include "world/save_database.h"
#include "world/scene.h"
#include "world/world.h"

namespace
{
// A start whose node has a locked edge, so the generation makes the first quest.
const unsigned int GAME_SEED = 1;
const int TICK_LIMIT = 200000;

class WholeGameTest : public ::testing::Test
{
protected:
    // One start, as GAME::start makes it, in a copy of the game's data tree.
    static void SetUpTestSuite()
    {
        s_pDir = new WORKING_DIRECTORY();
        std::filesystem::copy(std::string(ORV_RUN_DIR) + "/data", "data",
                              std::filesystem::copy_options::recursive);
        if (GAME::instance()->config == nullptr)
            GAME::instance()->config = new CONFIG();
        GAME::instance()->config->node_count = 100;
        mouse_x = 320;
        mouse_y = 240;
        mouse_b = 0;
        random_seed(GAME_SEED);
        QUEST::reset_ids();
        IMAGE_CACHE::load(0, "./data/images/Nodes.pcx");
        IMAGE_CACHE::load(1, "./data/images/significant_locations.bmp");
        CAMERA::current()->pan_to(320.0f, 240.0f, 0);
        s_pScene = new SCENE();
        s_bmpBuffer = create_bitmap(640, 480);
        // The first pass of the main loop: the zoom snaps to 3.
        pass();
    }
    static void TearDownTestSuite()
    {
        delete s_pScene;
        s_pScene = nullptr;
        destroy_bitmap(s_bmpBuffer);
        IMAGE_CACHE::destroy_all();
        sqlite3_close(save_db);
        save_db = NULL;
        delete s_pDir;
        s_pDir = nullptr;
    }

    static WORLD* world() { return WORLD::instance(); }
    static MAP* map() { return world()->get_maps().front(); }
    static TRAVELLER* token() { return map()->tTraveller; }

    // One pass of the main loop: two logic steps and a frame.
    static void pass()
    {
        for (int i = 0; i < 2; ++i)
        {
            ++game_time;
            s_pScene->update();
        }
        s_pScene->draw(s_bmpBuffer);
        clear_bitmap(s_bmpBuffer);
    }
    // The screen point of n on the copy nearest the screen centre.
    static void mouse_on(NODE* n)
    {
        CAMERA* c = CAMERA::current();
        float fBest = 1e9f;
        for (float m : {-640.0f, 0.0f, 640.0f})
        {
            float sx = c->world_to_screen_x(n->fX + m);
            if (std::abs(sx - 320) < fBest)
            {
                fBest = std::abs(sx - 320);
                mouse_x = (int)sx;
            }
        }
        mouse_y = (int)c->world_to_screen_y(n->fY);
    }
    // A left click on n for one pass, the mouse back at the centre after it; then passes until
    // the token stands still at a node. The number of passes it took.
    static int travel_to(NODE* n)
    {
        mouse_on(n);
        mouse_b = 1;
        pass();
        mouse_b = 0;
        mouse_x = 320;
        mouse_y = 240;
        int iPasses = 1;
        while ((token()->is_moving() || token()->get_state() != TRAVELLER_AT_NODE) && iPasses < TICK_LIMIT)
        {
            pass();
            ++iPasses;
        }
        return iPasses;
    }
    // The nodes on a shortest way from the player's node to the target over the edges a move
    // may take, the target last.
    static std::vector<NODE*> way_to(NODE* nTarget)
    {
        std::map<NODE*, NODE*> m_From;
        std::list<NODE*> l_Queue = {map()->nPlayer_node};
        m_From[map()->nPlayer_node] = NULL;
        while (!l_Queue.empty() && m_From.count(nTarget) == 0)
        {
            NODE* u = l_Queue.front();
            l_Queue.pop_front();
            for (NODE* v : u->passable_neighbours())
                if (m_From.count(v) == 0)
                {
                    m_From[v] = u;
                    l_Queue.push_back(v);
                }
        }
        std::vector<NODE*> v_Way;
        if (m_From.count(nTarget) == 0)
            return v_Way;
        for (NODE* n = nTarget; n != map()->nPlayer_node; n = m_From[n])
            v_Way.insert(v_Way.begin(), n);
        return v_Way;
    }
    static int count_rows(const char* sql) { return std::stoi(rows(save_db, sql).front()); }

    static SCENE* s_pScene;
    static BITMAP* s_bmpBuffer;
    static WORKING_DIRECTORY* s_pDir;
};

SCENE* WholeGameTest::s_pScene = nullptr;
BITMAP* WholeGameTest::s_bmpBuffer = nullptr;
WORKING_DIRECTORY* WholeGameTest::s_pDir = nullptr;
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

    mouse_on(nTo);
    mouse_b = 1;
    pass();
    mouse_b = 0;
    mouse_x = 320;
    mouse_y = 240;
    // The marker moves at the click, the token sets off with the calendar.
    EXPECT_TRUE(nTo->has_player());
    EXPECT_FALSE(nFrom->has_player());
    EXPECT_EQ(map()->nPlayer_node, nTo);
    EXPECT_TRUE(token()->is_moving());
    EXPECT_TRUE(pCalendar->is_running());
    EXPECT_EQ(token()->get_node(), nFrom);

    int iPasses = 0;
    while ((token()->is_moving() || token()->get_state() != TRAVELLER_AT_NODE) && iPasses < TICK_LIMIT)
    {
        pass();
        ++iPasses;
    }
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
        EDGE* e = NULL;
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
