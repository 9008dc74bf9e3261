#pragma once

// Shared by the tests of the travel map: a copy of the game's data tree to run in, the
// world, word database and calendar in a known state, and a map built by hand: nodes at
// given places on given cells (no planet), joined by edges of given types.

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "framework/camera.h"
#include "framework/config.h"
#include "framework/entity.h"
#include "framework/random.h"
#include "framework/run_files.h"
#include "tests/headless.h"
#include "tests/save_fixture.h"
#include "world/calendar/calendar.h"
#include "world/game.h"
#include "world/map/edge.h"
#include "world/map/map.h"
#include "world/map/node.h"
#include "world/map/quest.h"
#include "world/map/traveller.h"
#include "world/planet/cell.h"
#include "world/save_database.h"
#include "world/words/word_database.h"
#include "world/world.h"

// A land cell by default: height 6000, 60 degrees, landmass 2.
inline CELL make_cell(int iHeight = 6000, float fTemperature = 60.0f, int iLandmass = 2)
{
    CELL cell;
    CELL::init(&cell);
    cell.iHeight = iHeight;
    cell.fTemperature = fTemperature;
    cell.iLandmass = iLandmass;
    return cell;
}

// While it lives, chosen word lists of the word database hold only the given words, and the
// settlement kinds only the given records; the words are the test's own.
class TEST_WORDS
{
public:
    TEST_WORDS() = default;
    TEST_WORDS(const TEST_WORDS&) = delete;
    TEST_WORDS& operator=(const TEST_WORDS&) = delete;
    ~TEST_WORDS()
    {
        WORD_DATABASE* wdWords = WORD_DATABASE::instance();
        for (auto& entry : m_Saved)
            wdWords->category_list(entry.first)->swap(entry.second);
        if (bSettlements)
            WORD_DATABASE::l_Settlements.swap(l_Saved_settlements);
        for (WORD* w : v_Settlements)
            delete w;
    }

    // The list of the category holds these words, in order.
    void set(int iCategory, const std::vector<std::string>& v_Words)
    {
        std::list<std::string*> l_Words;
        for (const std::string& s : v_Words)
        {
            v_Owned.push_back(std::make_unique<std::string>(s));
            l_Words.push_back(v_Owned.back().get());
        }
        std::list<std::string*>* l_List = WORD_DATABASE::instance()->category_list(iCategory);
        if (!m_Saved.count(iCategory))
            m_Saved[iCategory].swap(*l_List);
        *l_List = l_Words;
    }
    // The settlement kinds are these {word, min, max}, in order.
    void set_settlements(const std::vector<std::tuple<std::string, int, int>>& v_Kinds)
    {
        std::list<WORD*> l_Kinds;
        for (const auto& k : v_Kinds)
        {
            v_Settlements.push_back(new WORD(std::get<1>(k), std::get<2>(k), 0, 0, std::get<0>(k)));
            l_Kinds.push_back(v_Settlements.back());
        }
        if (!bSettlements)
            l_Saved_settlements.swap(WORD_DATABASE::l_Settlements);
        bSettlements = true;
        WORD_DATABASE::l_Settlements = l_Kinds;
    }
    // The i-th word of the category as the list holds it.
    static std::string* word(int iCategory, int i)
    {
        return *std::next(WORD_DATABASE::instance()->category_list(iCategory)->begin(), i);
    }

private:
    std::vector<std::unique_ptr<std::string>> v_Owned;
    std::map<int, std::list<std::string*>> m_Saved;
    std::vector<WORD*> v_Settlements;
    std::list<WORD*> l_Saved_settlements;
    bool bSettlements = false;
};

class MAP_TEST : public ::testing::Test
{
protected:
    // The world and word database read ./data: run in a copy of the game's data tree.
    static void SetUpTestSuite()
    {
        s_pDir = new WORKING_DIRECTORY();
        std::filesystem::copy(std::string(ORV_RUN_DIR) + "/data", "data",
                              std::filesystem::copy_options::recursive);
        // Loaded once per process: a second load would add every word again.
        static bool bLoaded = false;
        if (!bLoaded)
        {
            bLoaded = true;
            WORD_DATABASE::instance()->load(WORDS_FILE_PATH);
        }
    }
    static void TearDownTestSuite()
    {
        close_save_database();
        delete s_pDir;
        s_pDir = nullptr;
    }

    void SetUp() override
    {
        // Fresh tables, so ids start again from 0.
        start_world();
        reset_state();
        random_seed(1);
        // The generation reads node_count through the application's settings record.
        cfgMap.reset();
        GAME::instance()->config = &cfgMap;
        map = new MAP();
        world()->get_maps().push_front(map);
        world()->set_player(map->tTraveller);
    }
    void TearDown() override
    {
        world()->get_maps().clear();
        delete map;
        map = nullptr;
        reset_state();
        GAME::instance()->config = nullptr;
    }

    static WORLD* world() { return WORLD::instance(); }

    // What a test may have left behind in the singletons and globals the map touches.
    static void reset_state()
    {
        WORLD* pWorld = world();
        for (QUEST* q : pWorld->get_quests())
            delete q;
        pWorld->set_quests({});
        pWorld->clear_messages();
        pWorld->set_player(nullptr);
        pWorld->set_planet(nullptr);
        WORD_DATABASE::instance()->reset_used();
        node_counter = 0;
        QUEST::reset_ids();
        CALENDAR* pCalendar = CALENDAR::instance();
        pCalendar->stop();
        pCalendar->iHour = 12;
        pCalendar->iMinute = 0;
        pCalendar->iTotal_days = 0;
        CAMERA* c = CAMERA::current();
        c->reset(320, 240);
        c->zoom_to(1.0f, 0);
        c->set_scale(1.0f);
        game_time = 0;
        mouse_x = -1000;
        mouse_y = -1000;
        mouse_b = 0;
    }

    // A node of the map at (x, y) on a copy of the cell; it goes to the front of the list.
    NODE* node_at(float x, float y, CELL cell = make_cell())
    {
        map->create_node(x, y, &cell);
        return map->l_Nodes.front();
    }
    // The new edge between a and b.
    EDGE* link(NODE* a, NODE* b, int iType = EDGE_NORMAL)
    {
        EXPECT_TRUE(map->connect(a, b, iType));
        return map->l_Edges.front();
    }
    // Nodes 20 apart on the row y = 100 from x = 100, each linked to the one before.
    std::vector<NODE*> line(int iCount)
    {
        std::vector<NODE*> v_Nodes;
        for (int i = 0; i < iCount; ++i)
            v_Nodes.push_back(node_at(100.0f + 20 * i, 100));
        for (int i = 1; i < iCount; ++i)
            link(v_Nodes[i - 1], v_Nodes[i]);
        return v_Nodes;
    }
    // The same, closed into a ring by one more edge from the last to the first.
    std::vector<NODE*> ring(int iCount, float fY = 100)
    {
        std::vector<NODE*> v_Nodes;
        for (int i = 0; i < iCount; ++i)
            v_Nodes.push_back(node_at(100.0f + 20 * i, fY));
        for (int i = 1; i < iCount; ++i)
            link(v_Nodes[i - 1], v_Nodes[i]);
        link(v_Nodes[iCount - 1], v_Nodes[0]);
        return v_Nodes;
    }
    // The player's marker and the token on n, as the generation leaves them at the start.
    void place_player(NODE* n)
    {
        n->bPlayer = true;
        n->bVisited = true;
        n->bRevealed = true;
        map->nPlayer_node = n;
        map->tTraveller->ENTITY::set_position(n->fX, n->fY);
        map->tTraveller->set_node(n);
    }
    // A left click with the mouse on world point (x, y), the camera as the fixture sets it.
    static void press_at(float x, float y)
    {
        mouse_x = (int)x;
        mouse_y = (int)y;
        mouse_b = 1;
    }
    static std::vector<std::string> messages()
    {
        std::vector<std::string> v;
        for (std::string* s : world()->get_messages())
            v.push_back(*s);
        return v;
    }

    void set_node_count(int iCount) { cfgMap.node_count = iCount; }

    MAP* map = nullptr;
    CONFIG cfgMap;
    static WORKING_DIRECTORY* s_pDir;
};

inline WORKING_DIRECTORY* MAP_TEST::s_pDir = nullptr;
