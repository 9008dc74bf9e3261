#include <gtest/gtest.h>

#include <functional>
#include <list>
#include <string>
#include <vector>

#include "framework/colours.h"
#include "tests/map_fixture.h"

namespace
{
class QuestTest : public MAP_TEST
{
protected:
    NODE* named(float x, float y, const char* sName, int iRank)
    {
        NODE* n = node_at(x, y);
        *n->sName = sName;
        n->set_rank(iRank);
        return n;
    }
    std::vector<QUEST*> quests()
    {
        std::list<QUEST*> l = world()->get_quests();
        return std::vector<QUEST*>(l.begin(), l.end());
    }
};
}

TEST_F(QuestTest, IdsCountFromOneAndRestart)
{
    QUEST q1;
    QUEST q2;
    EXPECT_EQ(q1.get_id(), 1);
    EXPECT_EQ(q2.get_id(), 2);
    EXPECT_EQ(q1.nLocked, nullptr);
    EXPECT_EQ(q1.nTarget, nullptr);
    EXPECT_EQ(q1.eLocked, nullptr);
    QUEST::reset_ids();
    EXPECT_EQ(QUEST().get_id(), 1);
}

TEST_F(QuestTest, TheFirstSearchKeepsNearTheRankAndPicksByDistance)
{
    // S (rank 1) - A (rank 2) - B (rank 3); L (rank 2) behind the locked edge from S.
    NODE* S = named(100, 100, "Sand", 1);
    NODE* A = named(140, 100, "Ash", 2);
    NODE* B = named(180, 100, "Birch", 3);
    NODE* L = named(100, 140, "Lock", 2);
    link(S, A);
    link(A, B);
    EDGE* E = link(S, L, EDGE_LOCKED);
    place_player(S);
    // Candidates S (queued again by A: distance 2), A (1), B (2), S again. A draw above
    // 84 takes a distance-2 candidate, above 92 a distance-1 one: pass S, take A.
    random_seed(seed_where(2, [](const std::vector<int>& d) { return d[0] % 100 <= 84 && d[1] % 100 > 92; }));
    world()->make_quest(L, S, E);
    EXPECT_EQ(random_draw_count(), 2);
    std::vector<QUEST*> v = quests();
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0]->nTarget, A);
    EXPECT_EQ(v[0]->nLocked, L);
    EXPECT_EQ(v[0]->eLocked, E);
    EXPECT_EQ(messages(), std::vector<std::string>{"Travel to Ash to unlock edge.  Rank:  2"});
    EXPECT_EQ(rows(save_db, "SELECT * FROM quests"), std::vector<std::string>{"1|Ash|Lock"});
    EXPECT_EQ(S->iDistance, 2);
    EXPECT_EQ(E->get_type(), EDGE_LOCKED);
    EXPECT_TRUE(E->is_open());
}

TEST_F(QuestTest, PassesRepeatUntilADrawTakesACandidate)
{
    NODE* S = named(100, 100, "Sand", 0);
    NODE* A = named(140, 100, "Ash", 5);
    NODE* B = named(100, 60, "Birch", 5);
    NODE* L = named(100, 140, "Lock", 5);
    link(S, A);
    link(S, B);
    EDGE* E = link(S, L, EDGE_LOCKED);
    place_player(S);
    // B, then A, both at distance 1 (S is below the rank band): a draw must exceed 92.
    struct CASE
    {
        const char* sWhat;
        std::function<bool(const std::vector<int>&)> fits;
        int iDraws;
        NODE* nTarget;
    } cases[] = {
        {"two misses, then a hit",
         [](const std::vector<int>& d) { return d[0] % 100 <= 92 && d[1] % 100 <= 92 && d[2] % 100 > 92; }, 3, B},
        {"92 itself misses", [](const std::vector<int>& d) { return d[0] % 100 == 92 && d[1] % 100 > 92; }, 2, A},
    };
    for (const CASE& c : cases)
    {
        random_seed(seed_where(c.iDraws, c.fits));
        world()->make_quest(L, S, E);
        EXPECT_EQ(random_draw_count(), c.iDraws) << c.sWhat;
        EXPECT_EQ(quests().back()->nTarget, c.nTarget) << c.sWhat;
    }
}

TEST_F(QuestTest, TheRankBandAndThePassThroughLimitOfTheFirstSearch)
{
    // L is rank 5: candidates lie in 3..6 and the search passes through nodes up to rank 6.
    // N, S's only neighbour, is a candidate of the first search (no quotes), or of none.
    struct CASE
    {
        int iRank;
        const char* sShown; // null: no way to unlock
    } cases[] = {
        {2, nullptr},
        {3, "Travel to Nook to unlock edge.  Rank:  3"},
        {6, "Travel to Nook to unlock edge.  Rank:  6"},
        {7, nullptr},
    };
    for (const CASE& c : cases)
    {
        world()->clear_messages();
        for (QUEST* q : quests())
            delete q;
        world()->set_quests({});
        NODE* S = named(100, 100, "Sand", 0);
        NODE* N = named(140, 100, "Nook", c.iRank);
        NODE* L = named(100, 140, "Lock", 5);
        link(S, N);
        EDGE* E = link(S, L, EDGE_LOCKED);
        place_player(S);
        std::string sOut = capture_messages([&] { world()->make_quest(L, S, E); });
        if (c.sShown == nullptr)
        {
            EXPECT_EQ(sOut, "ERROR:  No way to unlock!") << c.iRank;
            EXPECT_TRUE(messages().empty()) << c.iRank;
            EXPECT_TRUE(quests().empty()) << c.iRank;
        }
        else
        {
            EXPECT_EQ(sOut, "") << c.iRank;
            EXPECT_EQ(messages(), std::vector<std::string>{c.sShown}) << c.iRank;
            std::vector<QUEST*> v = quests();
            ASSERT_EQ(v.size(), 1u) << c.iRank;
            EXPECT_EQ(v[0]->nTarget, N) << c.iRank;
        }
        S->bPlayer = false;
    }
}

TEST_F(QuestTest, RankAndDepthLimitTheFirstSearch)
{
    // S - Lo - X: a node below the band is passed through; S - Hi - Y: one above it is not.
    NODE* S = named(100, 100, "Sand", 0);
    NODE* Lo = named(140, 100, "Low", 2);
    NODE* X = named(180, 100, "Ex", 5);
    NODE* Hi = named(60, 100, "High", 7);
    NODE* Y = named(20, 100, "Why", 5);
    NODE* L = named(100, 140, "Lock", 5);
    link(S, Lo);
    link(Lo, X);
    link(S, Hi);
    link(Hi, Y);
    EDGE* E = link(S, L, EDGE_LOCKED);
    place_player(S);
    random_seed(1);
    world()->make_quest(L, S, E);
    EXPECT_EQ(random_draw_count(), 1); // the sole candidate after one draw
    EXPECT_EQ(quests().at(0)->nTarget, X);
    EXPECT_EQ(Hi->iMark, WHITE);
    EXPECT_EQ(Y->iDistance, -1);

    // A line of 17 beyond S: the search examines distance 15 and queues nothing from it.
    world()->clear_messages();
    std::vector<NODE*> v_Line{S};
    for (int i = 1; i <= 16; ++i)
    {
        v_Line.push_back(named(100.0f + 20 * (float)i, 300, "Far", 5));
        link(v_Line[i - 1], v_Line[i]);
    }
    world()->make_quest(L, S, E);
    EXPECT_EQ(v_Line[15]->iDistance, 15);
    EXPECT_EQ(v_Line[15]->iMark, GRAY);
    EXPECT_EQ(v_Line[16]->iDistance, -1);
    EXPECT_EQ(v_Line[16]->iMark, WHITE);
}

TEST_F(QuestTest, ASoleCandidateAtDistanceZeroIsThePlayersOwnNode)
{
    NODE* S = named(100, 100, "Sand", 4);
    NODE* L = named(100, 140, "Lock", 4);
    EDGE* E = link(S, L, EDGE_LOCKED);
    place_player(S);
    random_seed(1);
    world()->make_quest(L, S, E);
    EXPECT_EQ(random_draw_count(), 1);
    ASSERT_EQ(quests().size(), 1u);
    EXPECT_EQ(quests()[0]->nTarget, S);
    EXPECT_EQ(messages(), std::vector<std::string>{"Travel to Sand to unlock edge.  Rank:  4"});
    // It completes at S's next quest check.
    S->update_node();
    EXPECT_TRUE(quests().empty());
    EXPECT_EQ(E->get_type(), EDGE_UNLOCKED);
    EXPECT_EQ(messages().back(), "Quest to Sand complete!");
}

TEST_F(QuestTest, TheFallbackTakesSettlementsOfAnyRankAndWalksEveryOtherEdge)
{
    // Only a detour leads on from S, and the node beyond is a settlement of rank 9.
    NODE* S = named(100, 100, "Sand", 1);
    NODE* T = named(140, 100, "O'Neill's Town", 9);
    NODE* L = named(100, 140, "Lock's Gate", 5);
    T->bSettlement = true;
    link(S, T, EDGE_LONG_DETOUR);
    EDGE* E = link(S, L, EDGE_LOCKED);
    place_player(S);
    world()->make_quest(L, S, E);
    EXPECT_EQ(quests().at(0)->nTarget, T);
    EXPECT_EQ(messages(), std::vector<std::string>{"Travel to 'O'Neill's Town' to unlock edge.  Rank:  9"});
    EXPECT_EQ(rows(save_db, "SELECT * FROM quests"), std::vector<std::string>{"1|O'Neill's Town|Lock's Gate"});
    EXPECT_TRUE(E->is_open()); // blocked for the search only
}

TEST_F(QuestTest, TheFallbackWalksAfreshWhatTheFirstSearchVisited)
{
    // The first search passes through P and finds nothing; the settlement T lies beyond P
    // above the rank limit, where only the fallback goes.
    NODE* S = named(100, 100, "Sand", 0);
    NODE* P = named(140, 100, "Pass", 0);
    NODE* T = named(180, 100, "Tor", 9);
    NODE* L = named(100, 140, "Lock", 5);
    T->bSettlement = true;
    link(S, P);
    link(P, T);
    EDGE* E = link(S, L, EDGE_LOCKED);
    place_player(S);
    world()->make_quest(L, S, E);
    ASSERT_EQ(quests().size(), 1u);
    EXPECT_EQ(quests()[0]->nTarget, T);
    EXPECT_EQ(messages(), std::vector<std::string>{"Travel to 'Tor' to unlock edge.  Rank:  9"});
    EXPECT_EQ(T->iDistance, 2);
}

TEST_F(QuestTest, WithNoCandidateAnywhereTheEdgeStaysLocked)
{
    NODE* S = named(100, 100, "Sand", 1);
    NODE* L = named(100, 140, "Lock", 9);
    EDGE* E = link(S, L, EDGE_LOCKED);
    place_player(S);
    random_seed(1);
    std::string sOut = capture_messages([&] { world()->make_quest(L, S, E); });
    EXPECT_EQ(sOut, "ERROR:  No way to unlock!");
    EXPECT_EQ(random_draw_count(), 0);
    EXPECT_TRUE(quests().empty());
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(rows(save_db, "SELECT * FROM quests").empty());
    EXPECT_EQ(E->get_type(), EDGE_LOCKED);
    EXPECT_TRUE(E->is_open());
    EXPECT_EQ(quest_counter, 0);
}

TEST_F(QuestTest, TwoQuestsCanEachAskForTheNodeBehindTheOther)
{
    // S stands between two locked edges and nothing on its side is near their rank. Each
    // fallback blocks only its own edge, walks the other and picks the node behind it.
    NODE* S = named(100, 100, "Sand", 1);
    NODE* L1 = named(60, 100, "West", 5);
    NODE* L2 = named(140, 100, "East", 5);
    EDGE* E1 = link(S, L1, EDGE_LOCKED);
    EDGE* E2 = link(S, L2, EDGE_LOCKED);
    place_player(S);
    S->reveal_neighbours();

    std::vector<QUEST*> v = quests();
    ASSERT_EQ(v.size(), 2u);
    // Newest edge first.
    EXPECT_EQ(v[0]->eLocked, E2);
    EXPECT_EQ(v[0]->nTarget, L1);
    EXPECT_EQ(v[1]->eLocked, E1);
    EXPECT_EQ(v[1]->nTarget, L2);
    EXPECT_EQ(messages(), (std::vector<std::string>{"Travel to 'West' to unlock edge.  Rank:  5",
                                                    "Travel to 'East' to unlock edge.  Rank:  5"}));
    // Neither destination can be reached: each lies behind the other quest's edge.
    for (NODE* n : {L1, L2})
    {
        press_at(n->get_x(), n->get_y());
        EXPECT_EQ(n->update_node(), nullptr);
    }
    EXPECT_EQ(quests().size(), 2u);
}
