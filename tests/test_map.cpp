#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <list>
#include <string>
#include <vector>

#include "framework/colours.h"
#include "tests/map_fixture.h"

namespace
{
class MapTest : public MAP_TEST
{
protected:
    // Nodes without edges, so the map holds iCount nodes in all.
    void fill_to(int iCount)
    {
        for (int i = (int)map->l_Nodes.size(); i < iCount; ++i)
            node_at((float)(i % 600), 400.0f + (float)(i / 600));
    }
    // Two rings of five joined by one edge from a[0] to b[0].
    void two_rings(std::vector<NODE*>& a, std::vector<NODE*>& b, EDGE*& eBridge)
    {
        a = ring(5, 100);
        b = ring(5, 300);
        eBridge = link(a[0], b[0]);
    }
    bool holds(const std::list<EDGE*>& l_List, EDGE* e)
    {
        return std::count(l_List.begin(), l_List.end(), e) == 1;
    }
};

int g_iCommits = 0;
int count_commit(void*)
{
    ++g_iCommits;
    return 0;
}

// The rows written since the commit before, at each commit.
std::vector<int> g_v_Rows_per_commit;
int g_iRows_pending = 0;
void count_row(void*, int, const char*, const char*, sqlite3_int64)
{
    ++g_iRows_pending;
}
int close_commit(void*)
{
    g_v_Rows_per_commit.push_back(g_iRows_pending);
    g_iRows_pending = 0;
    return 0;
}
}

TEST_F(MapTest, ANewMapHasItsFogLayersItsTokenAndNoNodes)
{
    EXPECT_TRUE(map->l_Nodes.empty());
    EXPECT_TRUE(map->l_Edges.empty());
    EXPECT_NE(map->tTraveller, nullptr);
    EXPECT_EQ(map->nPlayer_node, nullptr);
    for (BITMAP* bmp : {map->bmpFog_dark, map->bmpFog_dim, map->bmpOverlay})
    {
        ASSERT_NE(bmp, nullptr);
        EXPECT_EQ(bmp->w, 640);
        EXPECT_EQ(bmp->h, 480);
    }
    for (int iCorner : {0, 1})
    {
        int x = iCorner * 639;
        int y = iCorner * 479;
        EXPECT_EQ(getpixel(map->bmpFog_dark, x, y), BLACK);
        EXPECT_EQ(getpixel(map->bmpFog_dim, x, y), BLACK);
        EXPECT_EQ(getpixel(map->bmpOverlay, x, y), MAGENTA);
    }
}

TEST_F(MapTest, BuildingTheGraph)
{
    CELL cell = make_cell(7000);
    EXPECT_EQ(map->create_node(10, 20, &cell), 0);
    EXPECT_EQ(map->create_node(30, 20, &cell), 1);
    NODE* n0 = map->l_Nodes.back();
    NODE* n1 = map->l_Nodes.front();
    EXPECT_EQ(n0->get_id(), 0);
    EXPECT_EQ(map->get_nodes(), (std::list<NODE*>{n1, n0}));

    std::string sOut = capture_messages([&] { EXPECT_FALSE(map->connect(n0, nullptr, 1)); });
    EXPECT_EQ(sOut, "ERROR:  MAP::connect(n1, n2, ES)");
    EXPECT_TRUE(map->l_Edges.empty());
    EXPECT_EQ(node_counter, 2); // no waypoint either

    EXPECT_TRUE(map->connect(n0, n1, EDGE_GROUP_JOIN));
    EDGE* e = map->l_Edges.front();
    EXPECT_EQ(e->get_type(), EDGE_GROUP_JOIN);
    EXPECT_EQ(n0->l_Edges.front(), e);
    EXPECT_EQ(n1->l_Edges.front(), e);
    EXPECT_EQ(map->find_edge(n0, n1), e);
    EXPECT_EQ(map->find_edge(n1, n0), e);
    e->block();
    EXPECT_EQ(map->find_edge(n1, n0), e); // blocked edges count

    EXPECT_TRUE(map->connect_normal(n1, n0));
    EXPECT_EQ(map->l_Edges.front()->get_type(), EDGE_NORMAL);
    EXPECT_EQ(map->find_edge(n0, n1), map->l_Edges.front()); // the newer one comes first
    EXPECT_TRUE(map->connect_by_id(0, 1));
    EXPECT_EQ(map->l_Edges.size(), 3u);
    sOut = capture_messages([&] { EXPECT_FALSE(map->connect_by_id(0, 77)); });
    EXPECT_EQ(sOut, "ERROR:  MAP::connect(n1, n2, ES)");
    EXPECT_EQ(map->find_edge(n0, node_at(50, 50)), nullptr);

    std::list<EDGE*> l_List;
    map->add_unique_edge(l_List, e);
    map->add_unique_edge(l_List, map->l_Edges.front());
    map->add_unique_edge(l_List, e);
    EXPECT_EQ(l_List, (std::list<EDGE*>{e, map->l_Edges.front()}));
}

TEST_F(MapTest, HopDistance)
{
    std::vector<NODE*> v_Line = line(5);
    std::vector<NODE*> v_Ring = ring(6, 200);
    NODE* nEast = node_at(630, 300);
    NODE* nWest = node_at(20, 300);
    link(nEast, nWest);
    EXPECT_EQ(map->hop_distance(v_Line[0], v_Line[0]), 0);
    EXPECT_EQ(map->hop_distance(v_Line[0], v_Line[1]), 1);
    EXPECT_EQ(map->hop_distance(v_Line[4], v_Line[0]), 4);
    EXPECT_EQ(map->hop_distance(v_Ring[0], v_Ring[3]), 3);
    EXPECT_EQ(map->hop_distance(v_Ring[0], v_Ring[5]), 1);
    EXPECT_EQ(map->hop_distance(nWest, nEast), 1);
    EXPECT_EQ(map->hop_distance(v_Line[0], v_Ring[0]), -1);
    map->find_edge(v_Line[1], v_Line[2])->block();
    EXPECT_EQ(map->hop_distance(v_Line[0], v_Line[4]), -1);
    EXPECT_EQ(v_Line[4]->iDistance, -1);
    EXPECT_EQ(v_Line[1]->iDistance, 1);
    map->find_edge(v_Ring[0], v_Ring[1])->block();
    EXPECT_EQ(map->hop_distance(v_Ring[0], v_Ring[1]), 5);
}

TEST_F(MapTest, CountReachableMarksWhatItReachesAndKeepsEarlierMarks)
{
    std::vector<NODE*> a, b;
    EDGE* eBridge;
    two_rings(a, b, eBridge);
    NODE* nAlone = node_at(600, 50);
    link(nAlone, a[2])->block();
    EXPECT_EQ(map->count_reachable(nAlone), 1);
    EXPECT_TRUE(nAlone->bReached);
    EXPECT_FALSE(a[2]->bReached);

    eBridge->block();
    EXPECT_EQ(map->count_reachable(a[3]), 5);
    EXPECT_FALSE(b[0]->bReached);
    eBridge->unblock();
    EXPECT_EQ(map->count_reachable(a[3]), 10);
    for (NODE* n : map->l_Nodes)
        EXPECT_TRUE(n->bReached);
    EXPECT_EQ(a[3]->iMark, BLACK);
    EXPECT_EQ(nAlone->iMark, WHITE);
}

TEST_F(MapTest, SearchesRunNineHundredNinetyNineDeep)
{
    std::vector<NODE*> v_Line = line(999);
    EXPECT_EQ(map->count_reachable(v_Line.back()), 999);
    EXPECT_EQ(map->hop_distance(v_Line.front(), v_Line.back()), 998);
    std::list<NODE*> l_Group;
    v_Line.front()->collect_component(l_Group, 7);
    EXPECT_EQ(l_Group.size(), 999u);
    EXPECT_EQ(l_Group.back(), v_Line.back());
}

TEST_F(MapTest, ClassifyEdgesByTheirDetourAgainstTheMapsSize)
{
    enum
    {
        NONE,
        SHORT,
        LONG
    };
    struct CASE
    {
        int iNodes;
        std::vector<std::pair<int, int>> v_Detours; // hops around the edge, class
    } cases[] = {
        {19, {{2, LONG}, {5, LONG}}}, // no edge is short
        {20, {{2, SHORT}, {3, LONG}}},
        {40, {{2, NONE}, {3, SHORT}, {4, SHORT}, {5, LONG}}},
        {100, {{5, NONE}, {6, SHORT}, {10, SHORT}, {11, LONG}}},
        {160, {{4, NONE}, {5, SHORT}, {8, SHORT}, {9, LONG}}},
        {239, {{5, NONE}, {6, SHORT}, {11, SHORT}, {12, LONG}}},
        {999, {{4, NONE}, {5, SHORT}, {8, SHORT}, {9, LONG}}},
    };
    for (const CASE& c : cases)
    {
        std::vector<std::vector<NODE*>> v_Rings;
        for (const auto& detour : c.v_Detours)
            v_Rings.push_back(ring(detour.first + 1, 20.0f + 10 * (float)v_Rings.size()));
        fill_to(c.iNodes);
        ASSERT_EQ((int)map->l_Nodes.size(), c.iNodes);
        for (size_t i = 0; i < v_Rings.size(); ++i)
        {
            std::vector<NODE*>& v = v_Rings[i];
            map->classify_edges(v[0]);
            // From the other end too: each edge lands once.
            map->classify_edges(v[1]);
            const int iClass = c.v_Detours[i].second;
            const std::string sWhere = std::to_string(c.iNodes) + " nodes, detour " +
                                       std::to_string(c.v_Detours[i].first);
            for (EDGE* e : {map->find_edge(v[0], v[1]), map->find_edge(v[0], v.back())})
            {
                EXPECT_TRUE(e->is_open()) << sWhere;
                EXPECT_EQ(holds(map->l_Short_detours, e), iClass == SHORT) << sWhere;
                EXPECT_EQ(holds(map->l_Long_detours, e), iClass == LONG) << sWhere;
                EXPECT_FALSE(holds(map->l_Bridges, e)) << sWhere;
            }
        }
        delete map;
        map = new MAP();
        world()->get_maps().front() = map;
    }
}

TEST_F(MapTest, ClassifyEdgesFindsTheBridgeFromEitherEnd)
{
    std::vector<NODE*> a, b;
    EDGE* eBridge;
    two_rings(a, b, eBridge);
    fill_to(100);
    map->classify_edges(a[0]);
    map->classify_edges(b[0]);
    EXPECT_EQ(map->l_Bridges, std::list<EDGE*>{eBridge});
    EXPECT_TRUE(map->l_Short_detours.empty()); // detours of 4 at 100 nodes
    EXPECT_TRUE(map->l_Long_detours.empty());
    EXPECT_TRUE(eBridge->is_open());
}

TEST_F(MapTest, ClassifyEdgesSkipsANeighbourWhoseEdgeTheMapDoesNotHold)
{
    NODE* a = node_at(10, 10);
    NODE* b = node_at(50, 10);
    EDGE* eStray = new EDGE(a, b, EDGE_NORMAL);
    a->add_edge(eStray);
    b->add_edge(eStray);
    std::string sOut = capture_messages([&] { map->classify_edges(a); });
    EXPECT_EQ(sOut, "Oh crap, we didn't add an edge to the list somewhere...");
    EXPECT_TRUE(map->l_Bridges.empty());
    EXPECT_TRUE(eStray->is_open());
    a->l_Edges.clear();
    b->l_Edges.clear();
    delete eStray;
}

TEST_F(MapTest, JoinGroupTakesTheFirstClosestPairAndAppendsTheOtherGroup)
{
    // p1-q2 and p2-q1 are both 10 apart; p1 comes first in main, so p1-q2 is joined.
    NODE* p1 = node_at(100, 100);
    NODE* p2 = node_at(200, 100);
    NODE* q1 = node_at(200, 110);
    NODE* q2 = node_at(100, 110);
    // Across the seam these two would be closer, but the join measures straight.
    NODE* p3 = node_at(635, 300);
    NODE* q3 = node_at(2, 300);
    std::list<NODE*> l_Main{p1, p2, p3};
    map->join_group(l_Main, {q1, q2, q3});
    EXPECT_EQ(l_Main, (std::list<NODE*>{p1, p2, p3, q1, q2, q3}));
    ASSERT_EQ(map->l_Edges.size(), 1u);
    EDGE* e = map->l_Edges.front();
    EXPECT_TRUE(e->connects(p1, q2));
    EXPECT_EQ(e->get_type(), EDGE_GROUP_JOIN);

    std::list<NODE*> l_Empty;
    map->join_group(l_Main, l_Empty);
    map->join_group(l_Empty, {q1});
    EXPECT_TRUE(l_Empty.empty());
    EXPECT_EQ(map->l_Edges.size(), 1u);
}

TEST_F(MapTest, LandmassesAreCountedAndNamedWithUnusedRegionWords)
{
    WORD_DATABASE* wdWords = WORD_DATABASE::instance();
    const std::vector<std::string> v_Regions = texts(wdWords->l_Regions);
    auto capitalised = [&](int iDraw) {
        std::string s = v_Regions[iDraw % v_Regions.size()];
        s[0] = (char)toupper((unsigned char)s[0]);
        return s;
    };

    random_seed(21);
    map->add_landmass(0);
    EXPECT_EQ(random_draw_count(), 0);
    EXPECT_TRUE(map->l_Landmasses.empty());
    EXPECT_EQ(map->landmass_name(0), nullptr);

    // The first word drawn is taken already: the next one is used.
    const std::vector<int> v_Draws = draws_of(21, 2);
    ASSERT_NE(capitalised(v_Draws[0]), capitalised(v_Draws[1]));
    std::string sTaken = capitalised(v_Draws[0]);
    wdWords->l_Used_qualifiers.push_back(&sTaken);
    random_seed(21);
    map->add_landmass(2);
    EXPECT_EQ(random_draw_count(), 2);
    ASSERT_EQ(map->l_Landmasses.size(), 1u);
    LANDMASS* lm = map->l_Landmasses.front();
    EXPECT_EQ(lm->iId, 2);
    EXPECT_EQ(lm->iCount, 0);
    EXPECT_EQ(*lm->strName, capitalised(v_Draws[1]));
    EXPECT_EQ(wdWords->l_Used_qualifiers.back(), lm->strName); // the string itself

    map->add_landmass(2);
    EXPECT_EQ(lm->iCount, 1);
    EXPECT_EQ(random_draw_count(), 2);
    map->add_landmass(3);
    EXPECT_EQ(map->l_Landmasses.back()->iId, 3);
    EXPECT_EQ(map->landmass_name(2), lm->strName);
    EXPECT_EQ(map->landmass_name(3), map->l_Landmasses.back()->strName);
    EXPECT_EQ(map->landmass_name(9), nullptr);
}

TEST_F(MapTest, ADeletedMapTakesItsNamesOutOfTheWordRecord)
{
    WORD_DATABASE* wdWords = WORD_DATABASE::instance();
    std::string sKept = "Kept";
    wdWords->l_Used_names.push_back(&sKept);
    NODE* n = node_at(10, 10);
    *n->sName = "Ashford";
    wdWords->l_Used_names.push_back(n->sName);
    wdWords->l_Used_qualifiers.push_back(n->sName);
    map->add_landmass(5);
    ASSERT_EQ(wdWords->l_Used_qualifiers.size(), 2u);

    world()->get_maps().clear();
    delete map;
    map = nullptr;
    EXPECT_EQ(wdWords->l_Used_names, std::list<std::string*>{&sKept});
    EXPECT_TRUE(wdWords->l_Used_qualifiers.empty());
    wdWords->l_Used_names.clear();
}

TEST_F(MapTest, OneTicksWeatherRowsLieInOneTransaction)
{
    for (int i = 0; i < 6; ++i)
        node_at(50.0f + 30 * (float)i, 50);
    map->update(); // first rolls, no rows yet
    CALENDAR* pCalendar = CALENDAR::instance();
    pCalendar->start();
    pCalendar->iTotal_days = 1;

    g_iCommits = 0;
    sqlite3_commit_hook(save_db, count_commit, nullptr);
    map->update();
    sqlite3_commit_hook(save_db, nullptr, nullptr);
    EXPECT_EQ(rows(save_db, "SELECT COUNT(*) FROM node_weather"), std::vector<std::string>{"6"});
    EXPECT_EQ(g_iCommits, 1);
}

TEST_F(MapTest, WaypointRowsFollowTheTicksTransactionEachOnItsOwn)
{
    line(3); // two edges, so two waypoints
    map->update(); // first rolls, no rows yet
    CALENDAR* pCalendar = CALENDAR::instance();
    pCalendar->start();
    pCalendar->iTotal_days = 1;

    g_v_Rows_per_commit.clear();
    g_iRows_pending = 0;
    sqlite3_update_hook(save_db, count_row, nullptr);
    sqlite3_commit_hook(save_db, close_commit, nullptr);
    map->update();
    sqlite3_commit_hook(save_db, nullptr, nullptr);
    sqlite3_update_hook(save_db, nullptr, nullptr);
    // The three nodes' rows in one commit, then each waypoint's row by itself.
    EXPECT_EQ(g_v_Rows_per_commit, (std::vector<int>{3, 1, 1}));
    EXPECT_EQ(g_iRows_pending, 0);
    EXPECT_EQ(rows(save_db, "SELECT COUNT(*) FROM node_weather"), std::vector<std::string>{"5"});
}

TEST_F(MapTest, ANodeRevealedUnderThePointerByAClickIsNotClickedInTheSameTick)
{
    // s - a - b, with b hidden right next to a and after it in the list: a's click shows b
    // under the pointer, but the token is under way by the time b updates.
    NODE* s = node_at(200, 200);
    NODE* b = node_at(242, 200);
    NODE* a = node_at(240, 200);
    EDGE* e = link(s, a);
    link(a, b);
    place_player(s);
    a->bRevealed = true;
    press_at(240, 200);

    map->update();
    EXPECT_TRUE(b->is_revealed());
    EXPECT_TRUE(b->bHovered);
    EXPECT_TRUE(a->bPlayer);
    EXPECT_FALSE(b->bPlayer);
    EXPECT_EQ(map->nPlayer_node, a);
    EXPECT_EQ(map->tTraveller->get_edge(), e);
    EXPECT_TRUE(map->tTraveller->is_moving());
}

TEST_F(MapTest, AClickMovesThePlayerWithinTheTickAndTheLaterNodesStillUpdate)
{
    NODE* z = node_at(400, 300); // last in the list
    NODE* s = node_at(200, 200);
    NODE* n = node_at(240, 200); // first in the list
    EDGE* e = link(s, n);
    link(s, z);
    place_player(s);
    n->bRevealed = true;
    *n->sName = "Tarn";
    QUEST* q = new QUEST();
    q->nTarget = n;
    q->eLocked = map->l_Edges.front();
    q->eLocked->set_type(EDGE_LOCKED);
    world()->set_quests({q});
    press_at(240, 200);

    map->update();
    EXPECT_EQ(map->nPlayer_node, n);
    EXPECT_TRUE(n->bPlayer);
    EXPECT_FALSE(s->bPlayer);
    EXPECT_EQ(map->tTraveller->get_edge(), e);
    EXPECT_EQ(map->tTraveller->get_node(), s); // it changes on arrival
    EXPECT_TRUE(map->tTraveller->is_moving());
    EXPECT_TRUE(CALENDAR::instance()->is_running());
    EXPECT_FALSE(z->get_weather()->get_text().empty());
    // The quest at the clicked node completes on the tick of the click.
    EXPECT_TRUE(world()->get_quests().empty());
    EXPECT_EQ(messages(), std::vector<std::string>{"Quest to Tarn complete!"});
    EXPECT_EQ(map->find_edge(s, z)->get_type(), EDGE_UNLOCKED);
}

TEST_F(MapTest, AMoveWithoutAJoiningEdgeIsSaidAndTheTokenStays)
{
    NODE* s = node_at(200, 200);
    NODE* n = node_at(300, 200);
    place_player(s);
    std::string sOut = capture_messages([&] { map->move_position(n); });
    EXPECT_EQ(sOut, "ERROR:  Bombed at MAP::move_position()");
    EXPECT_EQ(map->nPlayer_node, n);
    EXPECT_FALSE(map->tTraveller->is_moving());
    EXPECT_EQ(map->tTraveller->get_edge(), nullptr);
    EXPECT_FALSE(CALENDAR::instance()->is_running());
}

TEST_F(MapTest, ThePlayerIsMovingOnlyWhileThereIsAMovingToken)
{
    EXPECT_FALSE(world()->is_player_moving());
    map->tTraveller->bMoving = true;
    EXPECT_TRUE(world()->is_player_moving());
    world()->set_player(nullptr);
    EXPECT_FALSE(world()->is_player_moving());
}
