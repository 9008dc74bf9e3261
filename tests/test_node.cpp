#include <gtest/gtest.h>

#include <list>
#include <string>
#include <vector>

#include "framework/colours.h"
#include "framework/helpers.h"
#include "framework/sprite.h"
#include "tests/map_fixture.h"

namespace
{
class NodeTest : public MAP_TEST
{
};
}

TEST_F(NodeTest, NewNodesTakeDenseIdsWriteTheirRowsAndStartBlank)
{
    random_seed(3);
    NODE nFirst;
    NODE nSecond;
    EXPECT_EQ(random_draw_count(), 0);
    EXPECT_EQ(nFirst.get_id(), 0);
    EXPECT_EQ(nSecond.get_id(), 1);
    EXPECT_EQ(node_counter, 2);
    EXPECT_EQ(rows(save_db, "SELECT * FROM nodes"), (std::vector<std::string>{"0", "1"}));

    EXPECT_EQ(nFirst.iGroup, -1);
    EXPECT_EQ(nFirst.iDistance, -1);
    EXPECT_EQ(nFirst.iMark, WHITE);
    EXPECT_EQ(nFirst.get_rank(), 99999);
    EXPECT_EQ(nFirst.get_population(), 0);
    EXPECT_EQ(nFirst.get_difficulty(), 0);
    EXPECT_STREQ(nFirst.get_name(), "");
    EXPECT_EQ(*nFirst.get_location(), "");
    EXPECT_EQ(nFirst.sRegion, nullptr);
    EXPECT_EQ(nFirst.get_weather(), nullptr);
    EXPECT_EQ(nFirst.get_height(), 0);
    EXPECT_FALSE(nFirst.bStart || nFirst.bRevealed || nFirst.bSettlement || nFirst.bHovered ||
                 nFirst.bPlayer || nFirst.bDungeon || nFirst.bVisited || nFirst.bEnd ||
                 nFirst.bReached);
    // A node without weather ticks harmlessly.
    nFirst.update_weather();
}

TEST_F(NodeTest, AttachingACellRollsDifficultyByHeightThenTheWeather)
{
    struct CASE
    {
        int iHeight, iBase;
    } cases[] = {{-25000, 0}, {4999, 0}, {5000, 10}, {13999, 10}, {14000, 20}, {25000, 20}};
    for (const CASE& c : cases)
    {
        CELL cell = make_cell(c.iHeight, -3.7f, 4);
        const std::vector<int> v_Draws = draws_of(11, 3);
        random_seed(11);
        NODE* n = node_at(50, 60, cell);
        EXPECT_EQ(random_draw_count(), 9) << c.iHeight; // 3, and 6 of the weather's own
        EXPECT_EQ(n->get_difficulty(), v_Draws[0] % 10 + c.iBase) << c.iHeight;
        // The first of the two weather draws is B.
        EXPECT_FLOAT_EQ(n->get_weather()->get_param_b(), (float)(v_Draws[1] % 100));
        EXPECT_FLOAT_EQ(n->get_weather()->get_param_a(), (float)(v_Draws[2] % 100));
        EXPECT_FLOAT_EQ(n->get_weather()->get_temperature(), -3.7f);
        EXPECT_EQ(n->get_height(), c.iHeight);
        EXPECT_EQ(n->get_temperature(), -3); // toward zero
        EXPECT_EQ(n->get_landmass(), 4);
        EXPECT_FLOAT_EQ(n->get_x(), 50);
        EXPECT_FLOAT_EQ(n->get_y(), 60);
    }
}

TEST_F(NodeTest, WeatherRowsCarryTheNodeId)
{
    NODE* n = node_at(50, 60);
    n->update_weather(); // first roll
    CALENDAR::instance()->start();
    CALENDAR::instance()->iTotal_days = 3;
    n->update_weather();
    std::vector<std::string> v_Rows = rows(save_db, "SELECT Node_ID, Day FROM node_weather");
    EXPECT_EQ(v_Rows, std::vector<std::string>{std::to_string(n->get_id()) + "|3"});
}

TEST_F(NodeTest, NeighbourQueriesTakeTheirEdgesNewestFirst)
{
    NODE* c = node_at(300, 300);
    std::vector<NODE*> v_Far;
    const int TYPES[] = {EDGE_NORMAL, EDGE_SHORT_DETOUR, EDGE_LONG_DETOUR, EDGE_GROUP_JOIN,
                         EDGE_LOCKED, EDGE_UNLOCKED, EDGE_NORMAL};
    for (int iType : TYPES)
    {
        v_Far.push_back(node_at(300 + 10 * (float)v_Far.size(), 350));
        link(c, v_Far.back(), iType);
    }
    map->l_Edges.front()->block(); // the last normal edge
    // Far ends by position in TYPES: newest first, the blocked one left out.
    auto far = [&](std::vector<int> v_At) {
        std::list<NODE*> l;
        for (int i : v_At)
            l.push_back(v_Far[i]);
        return l;
    };
    EXPECT_EQ(c->neighbours(), far({5, 4, 3, 2, 1, 0}));
    EXPECT_EQ(c->passable_neighbours(), far({5, 3, 2, 1, 0}));
    EXPECT_EQ(c->free_neighbours(), far({5, 3, 0}));
    EXPECT_EQ(c->edge_count(), 7);
    EXPECT_TRUE(c->is_adjacent(v_Far[6])); // blocked edges count
    EXPECT_TRUE(v_Far[6]->is_adjacent(c));
    EXPECT_FALSE(c->is_adjacent(c));
    EXPECT_FALSE(v_Far[0]->is_adjacent(v_Far[1]));

    EXPECT_FALSE(c->has_settlement_neighbour());
    v_Far[6]->bSettlement = true; // behind the blocked edge
    EXPECT_FALSE(c->has_settlement_neighbour());
    v_Far[2]->bSettlement = true;
    EXPECT_TRUE(c->has_settlement_neighbour());
}

TEST_F(NodeTest, CollectComponentGathersDepthFirstOverOpenEdges)
{
    // a - b - c, b - d, and e behind a blocked edge from c.
    NODE* a = node_at(10, 10);
    NODE* b = node_at(20, 10);
    NODE* c = node_at(30, 10);
    NODE* d = node_at(20, 20);
    NODE* e = node_at(40, 10);
    link(a, b);
    link(b, c);
    link(b, d);
    link(c, e)->block();
    std::list<NODE*> l_Group;
    a->collect_component(l_Group, 0);
    // b's edges newest first: d, then c, then a (already stamped).
    EXPECT_EQ(l_Group, (std::list<NODE*>{a, b, d, c}));
    EXPECT_EQ(e->iGroup, -1);
    for (NODE* n : l_Group)
        EXPECT_EQ(n->iGroup, 0);
    std::list<NODE*> l_Again;
    c->collect_component(l_Again, 0);
    EXPECT_TRUE(l_Again.empty());
    e->collect_component(l_Again, 1);
    EXPECT_EQ(l_Again, std::list<NODE*>{e});
}

TEST_F(NodeTest, KindLocationAndFlags)
{
    NODE* n = node_at(10, 10);
    n->set_kind("tower", 23);
    EXPECT_EQ(*n->sKind, "Tower");
    EXPECT_EQ(n->sprIcon->l_Layers.front()->iColumn, 3u);
    EXPECT_EQ(n->sprIcon->l_Layers.front()->iRow, 2u);
    n->set_kind("", 7);
    EXPECT_EQ(*n->sKind, "");
    n->append_location("Harrow");
    n->append_location(" Town");
    EXPECT_EQ(*n->get_location(), "Harrow Town");
    n->set_dungeon(true);
    n->set_rank(4);
    EXPECT_TRUE(n->is_dungeon());
    EXPECT_EQ(n->get_rank(), 4);
    EXPECT_FALSE(n->is_start() || n->is_end() || n->has_player() || n->is_visited());
}

TEST_F(NodeTest, ThePlaceQueryReadsTheNodesHeightTemperatureEdgesAndRank)
{
    NODE* n = node_at(10, 10, make_cell(6000, 60.9f));
    for (int i = 0; i < 5; ++i)
        link(n, node_at(20 + 5 * (float)i, 30));
    n->set_rank(6);
    WORD_DATABASE* wdWords = WORD_DATABASE::instance();
    for (int iCategory : {2, 10})
    {
        wdWords->query_place_word(iCategory, 6000, 60, 5, 6);
        const std::list<std::string> l_Expected = WORD_DATABASE::l_Words;
        ASSERT_FALSE(l_Expected.empty()) << iCategory;
        random_seed(9);
        std::string* sWord = wdWords->query_place_word(iCategory, n);
        EXPECT_EQ(WORD_DATABASE::l_Words, l_Expected) << iCategory;
        EXPECT_EQ(random_draw_count(), 1);
        ASSERT_NE(sWord, nullptr);
        EXPECT_EQ(*sWord, *std::next(l_Expected.begin(), draws_of(9, 1)[0] % (int)l_Expected.size()));
    }
}

// ---- Hover and click -------------------------------------------------------------------

TEST_F(NodeTest, HoverBoundsAreStrictAndNeedARevealedNode)
{
    // Camera at (320, 240), zoom 1: screen and world coincide, the half size is 5.
    NODE* n = node_at(100, 100);
    struct CASE
    {
        int x, y;
        bool bRevealed, bHovered;
    } cases[] = {
        {100, 100, true, true},  {95, 100, true, false}, {96, 100, true, true},
        {104, 100, true, true},  {105, 100, true, false}, {100, 95, true, false},
        {100, 96, true, true},   {100, 104, true, true},  {100, 105, true, false},
        {100, 100, false, false},
    };
    for (const CASE& c : cases)
    {
        n->bRevealed = c.bRevealed;
        mouse_x = c.x;
        mouse_y = c.y;
        EXPECT_EQ(n->update_node(), nullptr);
        EXPECT_EQ(n->bHovered, c.bHovered) << c.x << "," << c.y << " revealed " << c.bRevealed;
    }
    // At zoom 3 the half size is 15.
    CAMERA::current()->set_scale(3.0f);
    n->bRevealed = true;
    mouse_x = (int)CAMERA::current()->world_to_screen_x(100) + 14;
    mouse_y = (int)CAMERA::current()->world_to_screen_y(100);
    n->update_node();
    EXPECT_TRUE(n->bHovered);
    mouse_x += 1;
    n->update_node();
    EXPECT_FALSE(n->bHovered);
}

namespace
{
struct CLICK_CASE
{
    const char* sName;
    int iType;
    bool bBlocked;
    bool bMoving;
    int iButtons;
    bool bMoves;
};
}

TEST_F(NodeTest, AClickTakesTheMarkerFromANeighbourAcrossAPassableEdge)
{
    const CLICK_CASE cases[] = {
        {"normal edge", EDGE_NORMAL, false, false, 1, true},
        {"unlocked edge", EDGE_UNLOCKED, false, false, 1, true},
        {"detour", EDGE_LONG_DETOUR, false, false, 1, true},
        {"locked edge", EDGE_LOCKED, false, false, 1, false},
        {"blocked edge", EDGE_NORMAL, true, false, 1, false},
        {"traveller moving", EDGE_NORMAL, false, true, 1, false},
        {"button up", EDGE_NORMAL, false, false, 0, false},
        {"right button", EDGE_NORMAL, false, false, 2, false},
    };
    for (const CLICK_CASE& c : cases)
    {
        NODE* s = node_at(200, 200);
        NODE* n = node_at(240, 200);
        NODE* h = node_at(280, 200); // hidden, beyond n
        EDGE* e = link(s, n, c.iType);
        link(n, h);
        if (c.bBlocked)
            e->block();
        place_player(s);
        n->bRevealed = true;
        map->tTraveller->bMoving = c.bMoving;
        CAMERA::current()->reset(320, 240);
        mouse_x = 240;
        mouse_y = 200;
        mouse_b = c.iButtons;

        NODE* nResult = n->update_node();
        EXPECT_EQ(nResult, c.bMoves ? n : nullptr) << c.sName;
        EXPECT_EQ(n->bPlayer, c.bMoves) << c.sName;
        EXPECT_EQ(n->bVisited, c.bMoves) << c.sName;
        EXPECT_EQ(s->bPlayer, !c.bMoves) << c.sName;
        EXPECT_EQ(h->bRevealed, c.bMoves) << c.sName;
        EXPECT_EQ(CAMERA::current()->is_moving(), c.bMoves) << c.sName;
        if (c.bMoves)
        {
            EXPECT_FLOAT_EQ(CAMERA::current()->fDest_x, 240) << c.sName;
            EXPECT_FLOAT_EQ(CAMERA::current()->fDest_y, 200) << c.sName;
            // Held on: the marker is no longer on a neighbour.
            EXPECT_EQ(n->update_node(), nullptr) << c.sName;
        }
        map->tTraveller->bMoving = false;
        s->bPlayer = n->bPlayer = false;
    }
}

TEST_F(NodeTest, NoMoveFromAFarNodeOrOntoTheMarkersOwnNode)
{
    NODE* s = node_at(200, 200);
    NODE* n = node_at(240, 200);
    NODE* far = node_at(400, 200);
    link(s, n);
    link(n, far);
    place_player(s);
    far->bRevealed = true;
    press_at(400, 200);
    EXPECT_EQ(far->update_node(), nullptr);
    EXPECT_FALSE(far->bPlayer);
    press_at(200, 200);
    EXPECT_EQ(s->update_node(), nullptr);
    EXPECT_TRUE(s->bPlayer);
}

TEST_F(NodeTest, EachOfTheThreeCopiesIsHoveredAndPansTowardItself)
{
    struct CASE
    {
        float fCamera_x;
        float fPan_x;
    } cases[] = {
        {960, 650},  // the copy at +640 lies on the screen
        {320, 10},   // the copy itself
        {-320, -630} // the copy at -640
    };
    for (const CASE& c : cases)
    {
        NODE* s = node_at(50, 100);
        NODE* n = node_at(10, 100);
        link(s, n);
        place_player(s);
        n->bRevealed = true;
        CAMERA::current()->reset(c.fCamera_x, 240);
        press_at(CAMERA::current()->world_to_screen_x(c.fPan_x), CAMERA::current()->world_to_screen_y(100));
        EXPECT_EQ(n->update_node(), n) << c.fCamera_x;
        EXPECT_FLOAT_EQ(CAMERA::current()->fDest_x, c.fPan_x) << c.fCamera_x;
        s->bPlayer = n->bPlayer = false;
    }
}

// ---- Reveal and quests -----------------------------------------------------------------

TEST_F(NodeTest, RevealingAsksForAQuestBehindEveryLockedEdgeToAHiddenNode)
{
    // s's edges, oldest first: open to a, locked to b (hidden), locked to c (already shown),
    // locked to d (hidden).
    NODE* s = node_at(200, 200);
    NODE* a = node_at(240, 200);
    NODE* b = node_at(200, 240);
    NODE* c = node_at(160, 200);
    NODE* d = node_at(200, 160);
    for (NODE* n : {s, a, b, c, d})
        n->set_rank(1);
    *s->sName = "Start";
    *b->sName = "Bee";
    *d->sName = "Dee";
    link(s, a);
    EDGE* eB = link(s, b, EDGE_LOCKED);
    link(s, c, EDGE_LOCKED);
    EDGE* eD = link(s, d, EDGE_LOCKED);
    c->bRevealed = true;
    place_player(s);

    s->reveal_neighbours();
    for (NODE* n : {a, b, c, d})
        EXPECT_TRUE(n->bRevealed);
    std::list<QUEST*> l_Quests = world()->get_quests();
    ASSERT_EQ(l_Quests.size(), 2u);
    // Edge-list order: the newest edge first, ids consecutive.
    EXPECT_EQ(l_Quests.front()->nLocked, d);
    EXPECT_EQ(l_Quests.front()->eLocked, eD);
    EXPECT_EQ(l_Quests.front()->get_id(), 1);
    EXPECT_EQ(l_Quests.back()->nLocked, b);
    EXPECT_EQ(l_Quests.back()->eLocked, eB);
    EXPECT_EQ(l_Quests.back()->get_id(), 2);
    EXPECT_EQ(rows(save_db, "SELECT Quest_ID, vcLocked FROM quests ORDER BY Quest_ID"),
              (std::vector<std::string>{"1|Dee", "2|Bee"}));

    // Everything is shown now: no further quest.
    s->reveal_neighbours();
    EXPECT_EQ(world()->get_quests().size(), 2u);
}

TEST_F(NodeTest, TheQuestWhoseDestinationHoldsTheMarkerCompletesOnePerTick)
{
    NODE* n = node_at(200, 200);
    NODE* m = node_at(240, 200);
    *n->sName = "Harrow's End";
    EDGE* e1 = link(n, m, EDGE_LOCKED);
    EDGE* e2 = link(n, m, EDGE_LOCKED);
    for (EDGE* e : {e1, e2})
    {
        QUEST* q = new QUEST();
        q->nTarget = n;
        q->eLocked = e;
        std::list<QUEST*> l = world()->get_quests();
        l.push_back(q);
        world()->set_quests(l);
    }
    exec_sql(save_db, "INSERT INTO quests VALUES(1, 'x', 'y')");

    n->update_node(); // the marker is elsewhere
    EXPECT_EQ(world()->get_quests().size(), 2u);
    EXPECT_EQ(e1->get_type(), EDGE_LOCKED);

    n->bPlayer = true;
    n->update_node();
    EXPECT_EQ(e1->get_type(), EDGE_UNLOCKED);
    EXPECT_EQ(e2->get_type(), EDGE_LOCKED);
    EXPECT_EQ(world()->get_quests().size(), 1u);
    EXPECT_EQ(messages(), std::vector<std::string>{"Quest to Harrow's End complete!"});
    n->update_node();
    EXPECT_EQ(e2->get_type(), EDGE_UNLOCKED);
    EXPECT_TRUE(world()->get_quests().empty());
    EXPECT_EQ(messages().size(), 2u);
    // The row stays for the quest window.
    EXPECT_EQ(rows(save_db, "SELECT COUNT(*) FROM quests"), std::vector<std::string>{"1"});
}

TEST_F(NodeTest, CompletingALaterQuestLeavesTheEarlierOnesOpen)
{
    NODE* a = node_at(200, 200);
    NODE* b = node_at(240, 200);
    NODE* c = node_at(280, 200);
    *b->sName = "Bee";
    EDGE* eA = link(a, c, EDGE_LOCKED);
    EDGE* eB = link(b, c, EDGE_LOCKED);
    QUEST* qA = new QUEST();
    qA->nTarget = a;
    qA->eLocked = eA;
    QUEST* qB = new QUEST();
    qB->nTarget = b;
    qB->eLocked = eB;
    world()->set_quests({qA, qB});

    b->bPlayer = true;
    b->update_node();
    EXPECT_EQ(world()->get_quests(), std::list<QUEST*>{qA});
    EXPECT_EQ(eB->get_type(), EDGE_UNLOCKED);
    EXPECT_EQ(eA->get_type(), EDGE_LOCKED);
    EXPECT_EQ(messages(), std::vector<std::string>{"Quest to Bee complete!"});
}

TEST_F(NodeTest, AClickOverALockedEdgeMovesOnlyOnceItsQuestUnlockedIt)
{
    NODE* s = node_at(200, 200);
    NODE* n = node_at(240, 200);
    EDGE* e = link(s, n, EDGE_LOCKED);
    place_player(s);
    n->bRevealed = true;
    press_at(240, 200);
    EXPECT_EQ(n->update_node(), nullptr);
    e->set_type(EDGE_UNLOCKED);
    EXPECT_EQ(n->update_node(), n);
}
