#pragma once

// Shared by the tests that play the whole game without a screen: one seeded start, as
// GAME::start makes it, in a fresh copy of the run directory's data tree, the screen a memory
// bitmap for the start-up's progress lines; then the main loop driven by hand, its input
// faked. The world, the word database and the calendar outlive a start, so a test program
// starts once.

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cmath>
#include <filesystem>
#include <list>
#include <map>
#include <string>
#include <vector>

#include "framework/camera.h"
#include "framework/config.h"
#include "framework/image_cache.h"
#include "framework/random.h"
#include "framework/run_files.h"
#include "tests/headless.h"
#include "tests/planet_fixture.h"
#include "tests/save_fixture.h"
#include "world/game.h"
#include "world/map/map.h"
#include "world/map/node.h"
#include "world/map/quest.h"
#include "world/map/traveller.h"
#include "world/save_database.h"
#include "world/scene.h"
#include "world/world.h"

class GAME_TEST : public ::testing::Test
{
protected:
    // The test program's one start: node_count nodes from the seed. A suite calls it from its
    // own SetUpTestSuite.
    static void start_game(unsigned int uiSeed, int iNode_count)
    {
        static bool bStarted = false;
        ASSERT_FALSE(bStarted) << "one start per test program: the world lives on";
        bStarted = true;

        s_pDir = new WORKING_DIRECTORY();
        std::filesystem::copy(std::string(ORV_RUN_DIR) + "/data", "data",
                              std::filesystem::copy_options::recursive);
        // The windows' scratch database and the save database begin empty.
        std::filesystem::remove(SCROLL_WINDOW_DB_PATH);
        std::filesystem::remove(SAVE_DB_PATH);
        s_pScreen = new SCREEN_STANDIN();

        s_cfgGame.reset();
        s_cfgGame.node_count = iNode_count;
        GAME::instance()->config = &s_cfgGame;
        release_input();
        random_seed(uiSeed);
        QUEST::reset_ids();
        IMAGE_CACHE::load(0, NODES_IMAGE_PATH);
        IMAGE_CACHE::load(1, SIGNIFICANT_LOCATIONS_IMAGE_PATH);
        CAMERA::current()->pan_to(320.0f, 240.0f, 0);
        // Ticks that piled up while the world was generated.
        ticks = 5;
        s_pScene = new SCENE();
        s_iTicks_after_start = ticks;
        s_bmpBuffer = create_bitmap(640, 480);
        clear_bitmap(s_bmpBuffer);
    }
    static void TearDownTestSuite()
    {
        release_input();
        for (const char* sTable : {"settlement_window", "node_weather", "quests"})
            world()->close_windows(sTable);
        delete s_pScene;
        s_pScene = nullptr;
        if (s_bmpBuffer != nullptr)
            destroy_bitmap(s_bmpBuffer);
        s_bmpBuffer = nullptr;
        IMAGE_CACHE::destroy_all();
        close_save_database();
        GAME::instance()->config = nullptr;
        delete s_pScreen;
        s_pScreen = nullptr;
        delete s_pDir;
        s_pDir = nullptr;
    }

    static WORLD* world() { return WORLD::instance(); }
    static MAP* map() { return world()->get_maps().front(); }
    static TRAVELLER* token() { return map()->tTraveller; }

    // No key the game reads held, no button down, the mouse off every scrolling margin.
    static void release_input()
    {
        for (int k : {KEY_MINUS, KEY_EQUALS, KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_DOWN, KEY_S, KEY_W, KEY_Q, KEY_M,
                      KEY_H})
            key[k] = 0;
        mouse_x = 320;
        mouse_y = 240;
        mouse_b = 0;
    }
    // One logic step, as the main loop runs it.
    static void step()
    {
        ++game_time;
        s_pScene->update();
    }
    // One pass of the main loop: two logic steps and a frame, which stays in the buffer until
    // the next pass.
    static void pass()
    {
        step();
        step();
        clear_bitmap(s_bmpBuffer);
        s_pScene->draw(s_bmpBuffer);
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
    // A left click on n for one pass, the mouse back at the centre after it.
    static void click_on(NODE* n)
    {
        mouse_on(n);
        mouse_b = 1;
        pass();
        mouse_b = 0;
        mouse_x = 320;
        mouse_y = 240;
    }
    // Passes until the token stands still at a node; how many it took.
    static int pass_until_at_node()
    {
        int iPasses = 0;
        while ((token()->is_moving() || token()->get_state() != TRAVELLER_AT_NODE) && iPasses < PASS_LIMIT)
        {
            pass();
            ++iPasses;
        }
        return iPasses;
    }
    // A click on n, then passes until the token stands still at a node. The number of passes
    // it took.
    static int travel_to(NODE* n)
    {
        click_on(n);
        return 1 + pass_until_at_node();
    }
    // The nodes on a shortest way from the player's node to the target over the edges a move
    // may take, the target last.
    static std::vector<NODE*> way_to(NODE* nTarget)
    {
        std::map<NODE*, NODE*> m_From;
        std::list<NODE*> l_Queue = {map()->nPlayer_node};
        m_From[map()->nPlayer_node] = nullptr;
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

    // Enough passes for any journey on a map of the tests' size.
    static constexpr int PASS_LIMIT = 200000;

    static inline SCENE* s_pScene = nullptr;
    // The back buffer the passes draw into.
    static inline BITMAP* s_bmpBuffer = nullptr;
    // What the start left of the ticks that piled up during it.
    static inline int s_iTicks_after_start = -1;
    static inline CONFIG s_cfgGame;
    static inline SCREEN_STANDIN* s_pScreen = nullptr;
    static inline WORKING_DIRECTORY* s_pDir = nullptr;
};
