#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "tests/map_fixture.h"

namespace
{
class NodeProgressionTest : public MAP_TEST
{
protected:
    // The first seed whose next draw gives the share v of p.
    static unsigned int seed_for_share(int p, int v)
    {
        return seed_where(1, [&](const std::vector<int>& d) { return d[0] % (p / 2) == v; });
    }
    TEST_WORDS twWords;
};
} // namespace

// ---- Start, end and ranks ---------------------------------------------------------------

TEST_F(NodeProgressionTest, StartAndEndMarks)
{
    NODE* n = node_at(10, 10);
    EXPECT_EQ(n->make_start(), n);
    EXPECT_TRUE(n->is_start() && n->is_visited() && n->is_revealed() && n->has_player());
    EXPECT_FALSE(n->is_end());
    n->make_end_node();
    EXPECT_TRUE(n->is_end());
}

TEST_F(NodeProgressionTest, RankStrideFollowsTheNodeCount)
{
    const std::pair<int, int> cases[] = {{0, 1},    {1, 1},    {9, 1},    {10, 1},   {19, 1},
                                         {20, 2},   {100, 10}, {929, 92}, {930, 92}, {931, 93},
                                         {989, 98}, {990, 98}, {991, 99}, {999, 99}};
    for (const auto& c : cases)
        EXPECT_EQ(NODE::rank_stride(c.first), c.second) << c.first;
}

TEST_F(NodeProgressionTest, DepthBecomesRankByTheConfiguredStride)
{
    struct CASE
    {
        int iNodes, iDepth, iRank;
    } cases[] = {{50, 1, 1},   {50, 4, 1},    {50, 5, 1},    {50, 9, 1},   {50, 10, 2},
                 {50, 14, 2},  {50, 15, 3},   {5, 1, 1},     {5, 7, 7},    {0, 3, 3},
                 {930, 183, 1}, {930, 184, 2}, {990, 195, 1}, {990, 196, 2}};
    for (const CASE& c : cases)
    {
        set_node_count(c.iNodes);
        NODE* n = node_at(10, 10);
        std::list<NODE*> l_Frontier;
        EXPECT_EQ(n->assign_rank(l_Frontier, c.iDepth), c.iDepth) << c.iNodes << " " << c.iDepth;
        EXPECT_EQ(n->get_rank(), c.iRank) << c.iNodes << " " << c.iDepth;
    }
}

TEST_F(NodeProgressionTest, RanksRunDepthFirstOverNormalAndJoiningEdgesOnly)
{
    set_node_count(5); // stride 1: every depth is its own rank
    NODE* s = node_at(100, 100);
    NODE* a = node_at(120, 100);
    NODE* b = node_at(140, 100);
    NODE* c = node_at(100, 120);
    NODE* d = node_at(100, 140);
    NODE* e = node_at(160, 100);
    NODE* t = node_at(120, 80);
    link(s, a);
    link(a, b, EDGE_GROUP_JOIN);
    link(s, c, EDGE_SHORT_DETOUR);
    link(s, d, EDGE_LONG_DETOUR);
    link(b, e, EDGE_LOCKED);
    link(a, c, EDGE_SHORT_DETOUR);
    // s's newest edge leads to t, a second way to a: the first path, not the shortest, ranks.
    link(t, a);
    link(s, t);

    std::list<NODE*> l_Frontier;
    EXPECT_EQ(s->assign_rank(l_Frontier, 1), 4);
    EXPECT_EQ(s->get_rank(), 1);
    EXPECT_EQ(t->get_rank(), 2);
    EXPECT_EQ(a->get_rank(), 3);
    EXPECT_EQ(b->get_rank(), 4);
    for (NODE* n : {c, d, e})
        EXPECT_EQ(n->get_rank(), 99999);
    // In edge-list order, newest first; c waits twice, once behind each detour.
    EXPECT_EQ(l_Frontier, (std::list<NODE*>{d, c, c, e}));

    // Already ranked: nothing changes and nothing waits.
    std::list<NODE*> l_Again;
    EXPECT_EQ(s->assign_rank(l_Again, 9), 0);
    EXPECT_EQ(s->get_rank(), 1);
    EXPECT_TRUE(l_Again.empty());

    // A gate's far side starts deeper.
    EXPECT_EQ(c->assign_rank(l_Again, 7), 7);
    EXPECT_EQ(c->get_rank(), 7);
}

// ---- Populations ------------------------------------------------------------------------

TEST_F(NodeProgressionTest, SettlementPopulationIsCutByRank)
{
    struct CASE
    {
        int iLo, iHi, iRank, iPopulation;
    } cases[] = {
        {100, 101, 0, 100},  {100, 101, 1, 89},  {1000, 1001, 3, 699}, {1000, 1001, 5, 500},
        {9999, 10000, 9, 999}, {9999, 10000, 10, 0}, {20001, 20002, 10, 2}, {9999, 10000, 99999, 0},
        // No range: both draws are still made and the population is the lower bound.
        {500, 500, 0, 500},  {700, 300, 0, 700},  {500, 500, 1, 449},
    };
    for (const CASE& c : cases)
    {
        NODE* n = node_at(10, 10);
        n->set_rank(c.iRank);
        random_seed(7);
        n->set_settlement(true, c.iLo, c.iHi);
        EXPECT_EQ(random_draw_count(), 2) << c.iLo << " " << c.iHi << " " << c.iRank;
        EXPECT_TRUE(n->is_settlement());
        EXPECT_EQ(n->get_population(), c.iPopulation) << c.iLo << " " << c.iHi << " " << c.iRank;
    }

    // A real range: lo plus the product of the two draws modulo the range.
    NODE* n = node_at(20, 20);
    n->set_rank(0);
    const std::vector<int> v_Draws = draws_of(11, 2);
    random_seed(11);
    n->set_settlement(false, 20, 150);
    EXPECT_FALSE(n->is_settlement());
    EXPECT_EQ(n->get_population(), 20 + (v_Draws[0] * v_Draws[1]) % 130);
}

TEST_F(NodeProgressionTest, ReceivingAShare)
{
    // p = 2 draws nothing, p = 3 draws once and the share is 0: neither passes anything on.
    NODE* n = node_at(10, 10);
    NODE* m = node_at(30, 10);
    link(n, m);
    n->set_rank(1);
    m->set_rank(1);
    for (int p : {0, 2, 3})
    {
        random_seed(3);
        n->receive_population(p);
        EXPECT_EQ(random_draw_count(), p == 3 ? 1 : 0) << p;
        EXPECT_EQ(n->get_population(), 0);
    }

    // A land dungeon at rank 2 drawing 400 of 2000 takes 400 / 2 / 20 = 10 and passes it on
    // over the open edge (one more draw on the sea node, which stops), not the locked one.
    NODE* g = node_at(100, 100);
    NODE* sea = node_at(120, 100, make_cell(4000));
    NODE* behind = node_at(100, 120);
    link(g, sea);
    link(g, behind, EDGE_LOCKED);
    g->set_rank(2);
    g->set_dungeon(true);
    g->iPopulation = 10;
    const unsigned int seed = seed_for_share(2000, 400);
    random_seed(seed);
    g->receive_population(2000);
    EXPECT_EQ(g->get_population(), 10);
    EXPECT_EQ(random_draw_count(), 2);
    EXPECT_EQ(sea->get_population(), 0);
    EXPECT_EQ(behind->get_population(), 0);
    // With 11 already the share is smaller: it stops there.
    g->iPopulation = 11;
    random_seed(seed);
    g->receive_population(2000);
    EXPECT_EQ(g->get_population(), 11);
    EXPECT_EQ(random_draw_count(), 1);
}

TEST_F(NodeProgressionTest, ThePlaceKeepsTheLargestShareAndASettlementItsOwn)
{
    NODE* n = node_at(10, 10);
    n->set_rank(0);
    for (const auto& step : {std::pair<int, int>{300, 300}, {100, 300}, {500, 500}})
    {
        random_seed(seed_for_share(2000, step.first));
        n->receive_population(2000);
        EXPECT_EQ(n->get_population(), step.second) << step.first;
    }

    // A settlement keeps its population but hands the flow on; a sea node takes nothing.
    NODE* town = node_at(100, 100);
    NODE* beyond = node_at(120, 100);
    link(town, beyond);
    town->set_rank(0);
    beyond->set_rank(0);
    town->bSettlement = true;
    town->iPopulation = 50;
    random_seed(seed_for_share(2000, 300));
    town->receive_population(2000);
    EXPECT_EQ(town->get_population(), 50);
    EXPECT_GT(random_draw_count(), 1);
    NODE* sea = node_at(200, 200, make_cell(4999));
    random_seed(seed_for_share(2000, 300));
    sea->receive_population(2000);
    EXPECT_EQ(sea->get_population(), 0);
    EXPECT_EQ(random_draw_count(), 1);
}

TEST_F(NodeProgressionTest, SpreadingFollowsTheUnblockedEdges)
{
    NODE* town = node_at(100, 100);
    NODE* nOpen = node_at(120, 100, make_cell(4000));
    NODE* nShut = node_at(100, 120, make_cell(4000));
    link(town, nOpen);
    link(town, nShut, EDGE_LONG_DETOUR)->block();
    town->iPopulation = 1000;
    random_seed(5);
    town->spread_population();
    EXPECT_EQ(random_draw_count(), 1);
}

// ---- Regions ----------------------------------------------------------------------------

TEST_F(NodeProgressionTest, RegionBandsAtTheirBorders)
{
    const std::pair<int, int> heights[] = {{4999, 0},  {5000, 1},  {5300, 1},  {5301, 2},
                                           {10050, 2}, {10051, 3}, {14000, 3}, {14001, 4}};
    for (const auto& c : heights)
        EXPECT_EQ(NODE::height_band(c.first), c.second) << c.first;
    const std::pair<float, int> temperatures[] = {
        {-40.0f, 1}, {34.9f, 1}, {35.0f, 2}, {97.9f, 2}, {98.0f, 3}, {140.0f, 3}};
    for (const auto& c : temperatures)
        EXPECT_EQ(NODE::temperature_band(c.first), c.second) << c.first;
}

TEST_F(NodeProgressionTest, ARegionFillsItsBandsOnOneLandmassOverOpenEdges)
{
    NODE* x = node_at(100, 100, make_cell(5300, 60.0f, 2));
    NODE* same = node_at(120, 100, make_cell(5000, 97.9f, 2));
    NODE* beyond = node_at(140, 100, make_cell(5100, 35.0f, 2)); // through same
    NODE* higher = node_at(100, 120, make_cell(5301, 60.0f, 2));
    NODE* colder = node_at(80, 100, make_cell(5200, 34.9f, 2));
    NODE* other_land = node_at(100, 80, make_cell(5200, 60.0f, 3));
    NODE* sea = node_at(80, 80, make_cell(4999, 60.0f, 0));
    NODE* shut = node_at(120, 120, make_cell(5200, 60.0f, 2));
    for (NODE* n : {same, higher, colder, other_land, sea})
        link(x, n);
    link(same, beyond);
    link(x, shut, EDGE_LOCKED)->block();

    for (NODE* n : map->l_Nodes)
        n->assign_region(nullptr);

    ASSERT_NE(x->sRegion, nullptr);
    EXPECT_EQ(sea->sRegion, nullptr);
    for (NODE* n : {same, beyond})
    {
        ASSERT_NE(n->sRegion, nullptr);
        EXPECT_EQ(*n->sRegion, *x->sRegion);
        EXPECT_NE(n->sRegion, x->sRegion); // each holds its own copy
    }
    std::vector<std::string> v_Names = {*x->sRegion};
    for (NODE* n : {higher, colder, other_land, shut})
    {
        ASSERT_NE(n->sRegion, nullptr);
        for (const std::string& s : v_Names)
            EXPECT_NE(*n->sRegion, s);
        v_Names.push_back(*n->sRegion);
    }
    // One word reserved per region, capitalised.
    WORD_DATABASE* wdWords = WORD_DATABASE::instance();
    EXPECT_EQ(wdWords->l_Used_qualifiers.size(), 5u);
    for (const std::string& s : v_Names)
    {
        std::string sName = s;
        EXPECT_NE(wdWords->find_word(wdWords->l_Used_qualifiers, &sName), nullptr) << s;
        EXPECT_TRUE(isupper((unsigned char)s[0])) << s;
    }

    // A given name is copied and nothing is drawn; a named node keeps its region.
    NODE* fresh = node_at(300, 300);
    std::string sGiven = "Given";
    random_seed(4);
    fresh->assign_region(&sGiven);
    x->assign_region(nullptr);
    EXPECT_EQ(random_draw_count(), 0);
    EXPECT_EQ(*fresh->sRegion, "Given");
    EXPECT_NE(fresh->sRegion, &sGiven);
    EXPECT_EQ(*x->sRegion, v_Names[0]);
}

TEST_F(NodeProgressionTest, RegionWordsAreRedrawnWhileAnUnusedOneIsLeft)
{
    twWords.set(WORDS_REGION, {"alder", "birch"});
    WORD_DATABASE* wdWords = WORD_DATABASE::instance();
    std::string sTaken = "Alder";
    wdWords->l_Used_qualifiers.push_back(&sTaken);
    // Alder, Alder, then Birch: the normal redraw, no message.
    const unsigned int seed = seed_where(3, [](const std::vector<int>& d) {
        return d[0] % 2 == 0 && d[1] % 2 == 0 && d[2] % 2 == 1;
    });
    NODE* n = node_at(10, 10);
    std::string sShown = capture_messages([&] {
        random_seed(seed);
        n->assign_region(nullptr);
    });
    EXPECT_EQ(sShown, "");
    EXPECT_EQ(random_draw_count(), 3);
    EXPECT_EQ(*n->sRegion, "Birch");
    // The word itself is recorded.
    EXPECT_EQ(wdWords->l_Used_qualifiers.back(), TEST_WORDS::word(WORDS_REGION, 1));
    wdWords->reset_used();
}

TEST_F(NodeProgressionTest, AUsedUpRegionListNumbersTheNamesWithOneMessage)
{
    twWords.set(WORDS_REGION, {"march"});
    WORD_DATABASE* wdWords = WORD_DATABASE::instance();
    NODE* a = node_at(10, 10, make_cell(6000, 60.0f, 2));
    NODE* b = node_at(50, 50, make_cell(6000, 60.0f, 3));
    std::string sShown = capture_messages([&] {
        random_seed(8);
        map->add_landmass(2);
        EXPECT_EQ(random_draw_count(), 1);
        map->add_landmass(3);
        EXPECT_EQ(random_draw_count(), 2);
        a->assign_region(nullptr);
        b->assign_region(nullptr);
        EXPECT_EQ(random_draw_count(), 4);
    });
    EXPECT_EQ(*map->landmass_name(2), "March");
    EXPECT_EQ(*map->landmass_name(3), "March 2");
    EXPECT_EQ(*a->sRegion, "March 3");
    EXPECT_EQ(*b->sRegion, "March 4");
    EXPECT_EQ(sShown, "ERROR:  Every word of [regions] in ./data/words.dat is taken.  Further "
                      "names from it end in a number; add words to that list.\n");
    // The numbered names are recorded as the strings their holders own.
    const std::list<std::string*>& l_Used = wdWords->l_Used_qualifiers;
    for (std::string* s : {map->landmass_name(3), a->sRegion, b->sRegion})
        EXPECT_NE(std::find(l_Used.begin(), l_Used.end(), s), l_Used.end());
}
