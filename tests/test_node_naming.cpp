#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "framework/sprite.h"
#include "tests/map_fixture.h"

namespace
{
// Place words by height: Mill at sea; Mill and Tower, or the dungeons Crypt and Barrow, on
// land up to 14000; nothing above. The empty word has a row of its own, so a query for it
// would show.
const char* NAMING_PLACES = R"(
CREATE TABLE places(location TEXT, min INTEGER, max INTEGER, temperature INTEGER,
                    connection INTEGER, stage INTEGER, flag INTEGER, image INTEGER);
INSERT INTO places VALUES('Hamlet', 20, 150, 0, 0, 0, 2, 11);
INSERT INTO places VALUES('Village', 120, 1200, 0, 0, 0, 2, 12);
INSERT INTO places VALUES('Mill', -25001, 5001, 0, 0, 0, 0, 21);
INSERT INTO places VALUES('Mill', 5000, 14001, 0, 0, 0, 0, 21);
INSERT INTO places VALUES('Tower', 5000, 14001, 0, 0, 0, 0, 22);
INSERT INTO places VALUES('Crypt', 5000, 14001, 0, 0, 0, 1, 31);
INSERT INTO places VALUES('Barrow', 5000, 14001, 0, 0, 0, 1, 32);
INSERT INTO places VALUES('', 24000, 24500, 0, 0, 0, 0, 9);
)";

// The one message of the place or dungeon queries without rows.
std::string no_word(const char* sKind, int iFlag)
{
    return std::string("ERROR:  ./data/words.db has no ") + sKind + " word (flag " +
           std::to_string(iFlag) +
           ") for some nodes, which get none.  Keep a word without rules in every height "
           "band.\n";
}

// A test of the draw at a position.
struct DRAW_IS
{
    int iAt;
    std::function<bool(int)> test;
};
DRAW_IS at(int iAt, int iModulus, int iLo, int iHi)
{
    return {iAt, [=](int d) { return d % iModulus >= iLo && d % iModulus <= iHi; }};
}

class NodeNamingTest : public MAP_TEST
{
protected:
    void SetUp() override
    {
        MAP_TEST::SetUp();
        set_node_count(100);
        iLast_image = 0;
        static const std::string sPath = [] {
            std::string s = (scratch_dir() / "naming.db").string();
            make_database(s, NAMING_PLACES);
            return s;
        }();
        ASSERT_EQ(sqlite3_open_v2(sPath.c_str(), &dbFixture, SQLITE_OPEN_READONLY, nullptr),
                  SQLITE_OK);
        std::swap(WORD_DATABASE::instance()->dbWords, dbFixture);
        twWords.set(WORDS_ADJECTIVE, {"old", "grim"});
        twWords.set(WORDS_ADVERB, {"very"});
        twWords.set(WORDS_NAME, {"brenna"});
        twWords.set(WORDS_TITLE, {"duke"});
        twWords.set(WORDS_MONSTER, {"wolf"});
        twWords.set(WORDS_LOCATION, {"harrow"});
        twWords.set(WORDS_REGION, {"march"});
        twWords.set_settlements({{"Hamlet", 20, 150}, {"Village", 120, 1200}});
    }
    void TearDown() override
    {
        MAP_TEST::TearDown();
        std::swap(WORD_DATABASE::instance()->dbWords, dbFixture);
        sqlite3_close(dbFixture);
        iLast_image = 0;
    }

    static WORD_DATABASE* words() { return WORD_DATABASE::instance(); }
    // The first seed whose draws pass every test; the random source is left seeded with it.
    static unsigned int seed_for(const std::vector<DRAW_IS>& v_Tests)
    {
        int iCount = 0;
        for (const DRAW_IS& t : v_Tests)
            iCount = std::max(iCount, t.iAt + 1);
        unsigned int seed = seed_where(iCount, [&](const std::vector<int>& d) {
            for (const DRAW_IS& t : v_Tests)
                if (!t.test(d[t.iAt]))
                    return false;
            return true;
        });
        random_seed(seed);
        return seed;
    }
    static int icon(NODE* n)
    {
        const auto* layer = n->sprIcon->l_Layers.front();
        return (int)(layer->iRow * 10 + layer->iColumn);
    }
    // A land node that cannot become a settlement: unranked, no edges, not the start.
    NODE* plain_land() { return node_at(100, 100); }
    NODE* sea() { return node_at(100, 100, make_cell(4000)); }
    NODE* land_start(int iRank)
    {
        NODE* n = node_at(100, 100);
        n->make_start();
        n->set_rank(iRank);
        return n;
    }
    static bool recorded(const std::list<std::string*>& l_List, const std::string& s)
    {
        std::string sProbe = s;
        return words()->find_word(l_List, &sProbe) != nullptr;
    }

    TEST_WORDS twWords;
    sqlite3* dbFixture = nullptr;
};
} // namespace

// ---- Parts ------------------------------------------------------------------------------

TEST_F(NodeNamingTest, PlacePartFormsAtTheirBorders)
{
    struct CASE
    {
        int f;
        const char* sPlace;      // a sea node: the place word Mill
        const char* sSettlement; // a settlement: the kind Hamlet
    } cases[] = {{0, "Very Old Mill", "Very Old Hamlet"}, {100, "Very Old Mill", "Very Old Hamlet"},
                 {101, "Mill", "Hamlet"},                 {200, "Mill", "Hamlet"},
                 {201, "Old Mill", "Hamlet"},             {500, "Old Mill", "Hamlet"},
                 {501, "Old Mill", "Old Hamlet"},         {999, "Old Mill", "Old Hamlet"}};
    for (const CASE& c : cases)
    {
        // f, A, V, the place word.
        NODE* n = sea();
        seed_for({at(0, 1000, c.f, c.f), at(1, 2, 0, 0)});
        std::string* P = words()->place_part(n);
        EXPECT_EQ(random_draw_count(), 4) << c.f;
        EXPECT_EQ(*P, c.sPlace) << c.f;
        EXPECT_EQ(*n->sKind, "Mill");
        EXPECT_EQ(icon(n), 21);
        EXPECT_FALSE(n->is_settlement() || n->is_dungeon());
        delete P;

        // f, A, V, r1, r2, the kind, two population draws.
        NODE* s = land_start(0);
        seed_for({at(0, 1000, c.f, c.f), at(1, 2, 0, 0), at(4, 100, 1, 99), at(5, 2, 0, 0)});
        P = words()->place_part(s);
        EXPECT_EQ(random_draw_count(), 8) << c.f;
        EXPECT_EQ(*P, c.sSettlement) << c.f;
        EXPECT_TRUE(s->is_settlement());
        EXPECT_EQ(*s->sKind, "Hamlet");
        EXPECT_EQ(icon(s), 11);
        delete P;
    }

    // Land without a settlement: the roll picks a place word or a dungeon word.
    for (int iRoll : {50, 51})
    {
        NODE* n = plain_land();
        seed_for({at(0, 1000, 150, 150), at(4, 100, iRoll, iRoll), at(5, 2, 1, 1)});
        std::string* P = words()->place_part(n);
        EXPECT_EQ(random_draw_count(), 6);
        EXPECT_EQ(*P, iRoll > 50 ? "Tower" : "Barrow");
        EXPECT_EQ(n->is_dungeon(), iRoll <= 50);
        EXPECT_FALSE(n->is_settlement());
        delete P;
    }
}

TEST_F(NodeNamingTest, PersonNameTakesATitleHalfTheTime)
{
    for (int iChoice : {50, 51})
    {
        seed_for({at(2, 100, iChoice, iChoice)});
        std::string* s = words()->person_name(nullptr);
        EXPECT_EQ(random_draw_count(), 3);
        EXPECT_EQ(*s, iChoice > 50 ? "Duke Brenna" : "Brenna");
        delete s;
    }
}

TEST_F(NodeNamingTest, OwnerPartFormsAtTheirBorders)
{
    const std::pair<int, const char*> cases[] = {
        {0, "the Old Dukes"},   {10, "the Old Dukes"},  {11, "Dukes"},     {25, "Dukes"},
        {26, "the Old Brenna"}, {49, "the Old Brenna"}, {50, "Old Wolfs"}, {100, "Old Wolfs"},
        {101, "Wolfs"},         {200, "Wolfs"},         {201, "Brenna"},   {300, "Brenna"},
        {301, "Harrow"},        {999, "Harrow"}};
    for (bool bSettlement : {false, true})
    {
        for (const auto& c : cases)
        {
            words()->reset_used();
            NODE* n = sea();
            n->bSettlement = bSettlement;
            // A, Nm, Ti, the title choice, M, L, T, c.
            seed_for({at(0, 2, 0, 0), at(3, 100, 0, 50), at(7, 1000, c.first, c.first)});
            std::string* O = words()->owner_part(n);
            EXPECT_EQ(random_draw_count(), 8) << c.first;
            EXPECT_EQ(*O, bSettlement ? "Harrow" : c.second) << c.first;
            EXPECT_EQ(*n->get_location(), "Harrow") << c.first;
            EXPECT_EQ(words()->l_Used_qualifiers, std::list<std::string*>{O});
        }
    }
}

TEST_F(NodeNamingTest, AUsedOwnerPartIsDrawnAgainAndOnlyTheLastLocationCounts)
{
    twWords.set(WORDS_LOCATION, {"harrow", "elm"});
    std::string sTaken = "Harrow";
    words()->l_Used_qualifiers.push_back(&sTaken);
    NODE* n = sea();
    // First attempt Harrow (taken); second: location Elm, person Brenna.
    seed_for({at(5, 2, 0, 0), at(7, 1000, 301, 999), at(11, 100, 0, 50), at(13, 2, 1, 1),
              at(15, 1000, 201, 300)});
    std::string sShown;
    std::string* O = nullptr;
    sShown = capture_messages([&] { O = words()->owner_part(n); });
    EXPECT_EQ(random_draw_count(), 16);
    EXPECT_EQ(*O, "Brenna");
    EXPECT_EQ(*n->get_location(), "Elm");
    EXPECT_EQ(sShown, "");

    // A settlement's owner part draws on while a location word is left.
    NODE* s = sea();
    s->bSettlement = true;
    seed_for({at(5, 2, 0, 0), at(13, 2, 1, 1)});
    sShown = capture_messages([&] { O = words()->owner_part(s); });
    EXPECT_EQ(random_draw_count(), 16);
    EXPECT_EQ(*O, "Elm");
    EXPECT_EQ(sShown, "");
    words()->reset_used();
}

TEST_F(NodeNamingTest, ASettlementWithEveryLocationTakenGetsANumberedOne)
{
    std::string sTaken = "Harrow";
    words()->l_Used_qualifiers.push_back(&sTaken);
    std::vector<std::string> v_Owners;
    std::string sShown = capture_messages([&] {
        for (int i = 0; i < 2; ++i)
        {
            NODE* s = sea();
            s->bSettlement = true;
            random_seed(3);
            v_Owners.push_back(*words()->owner_part(s));
            EXPECT_EQ(random_draw_count(), 8);
            EXPECT_EQ(*s->get_location(), v_Owners.back());
        }
    });
    EXPECT_EQ(v_Owners, (std::vector<std::string>{"Harrow 2", "Harrow 3"}));
    EXPECT_EQ(sShown, "ERROR:  Every word of [locations] in ./data/words.dat is taken.  Further "
                      "names from it end in a number; add words to that list.\n");
    EXPECT_TRUE(recorded(words()->l_Used_qualifiers, "Harrow 3"));
    words()->reset_used();
}

// ---- Settlements ------------------------------------------------------------------------

TEST_F(NodeNamingTest, HubsByEdgesAgainstTheNodeCount)
{
    struct CASE
    {
        int iNodes, iEdges;
        bool bHub;
    } cases[] = {{25, 1, false},  {25, 2, true},  {50, 3, false}, {50, 4, true},
                 {100, 3, false}, {100, 4, true}, {100, 8, true},  {12, 1, true},
                 {13, 1, false},  {0, 0, true}};
    for (const CASE& c : cases)
    {
        set_node_count(c.iNodes);
        NODE* n = node_at(300, 300);
        n->set_rank(0);
        for (int i = 0; i < c.iEdges; ++i)
            link(n, node_at(310 + (float)i, 320));
        // r1 51 makes a hub without settled neighbours a candidate; r2 99 passes.
        seed_for({at(0, 100, 51, 51), at(1, 100, 99, 99)});
        std::string* W = words()->make_settlement(n);
        EXPECT_EQ(W != nullptr, c.bHub) << c.iNodes << " " << c.iEdges;
        EXPECT_EQ(random_draw_count(), c.bHub ? 5 : 1) << c.iNodes << " " << c.iEdges;
        EXPECT_EQ(n->is_settlement(), c.bHub);
    }
}

TEST_F(NodeNamingTest, CandidatesAndTheOddsByRank)
{
    // A hub of four edges, with or without a settled neighbour, by r1.
    struct HUB
    {
        bool bSettled_neighbour;
        int r1;
        bool bCandidate;
    } hubs[] = {{false, 50, false}, {false, 51, true}, {true, 90, false}, {true, 91, true}};
    for (const HUB& h : hubs)
    {
        NODE* n = node_at(300, 300);
        n->set_rank(0);
        for (int i = 0; i < 4; ++i)
            link(n, node_at(310 + (float)i, 320));
        map->l_Nodes.front()->bSettlement = h.bSettled_neighbour;
        seed_for({at(0, 100, h.r1, h.r1), at(1, 100, 99, 99)});
        EXPECT_EQ(words()->make_settlement(n) != nullptr, h.bCandidate) << h.r1;
    }

    // The start node is always a candidate; r2 must exceed 8 x rank.
    struct ODDS
    {
        int iRank, r2;
        bool bSettles;
    } odds[] = {{0, 0, false},   {0, 1, true},   {1, 8, false},  {1, 9, true},
                {12, 96, false}, {12, 97, true}, {13, 99, false}, {99999, 99, false}};
    for (const ODDS& o : odds)
    {
        NODE* s = land_start(o.iRank);
        // r1 0: no hub test helps; k picks Village.
        seed_for({at(0, 100, 0, 0), at(1, 100, o.r2, o.r2), at(2, 2, 1, 1)});
        std::string* W = words()->make_settlement(s);
        EXPECT_EQ(random_draw_count(), o.bSettles ? 5 : 2) << o.iRank << " " << o.r2;
        EXPECT_EQ(W != nullptr, o.bSettles) << o.iRank << " " << o.r2;
        if (W != nullptr)
        {
            EXPECT_EQ(*W, "Village");
            EXPECT_TRUE(s->is_settlement());
        }
    }
}

// ---- Whole names ------------------------------------------------------------------------

TEST_F(NodeNamingTest, ComposedNamesOfTheOldMill)
{
    // A sea node: r, f, A, V, the place word; the owner part A, Nm, Ti, choice, M, L, T, c;
    // then d.
    struct OWNER
    {
        const char* sOwner;
        std::vector<DRAW_IS> v_Draws;
    };
    const OWNER owners[] = {
        {"Brenna", {at(8, 100, 0, 50), at(12, 1000, 201, 300)}},
        {"the Grim Brenna", {at(5, 2, 1, 1), at(8, 100, 0, 50), at(12, 1000, 26, 49)}},
        {"Wolfs", {at(12, 1000, 101, 200)}}};
    const std::pair<int, int> d_ranges[] = {{51, 51}, {99, 99}, {26, 26},
                                            {50, 50}, {0, 0},   {25, 25}};
    const std::map<std::string, std::vector<std::string>> expected = {
        {"Brenna", {"Brenna's Old Mill", "Old Mill", "Old Mill of Brenna"}},
        {"the Grim Brenna",
         {"The Grim Brenna's Old Mill", "Old Mill", "Old Mill of the Grim Brenna"}},
        {"Wolfs", {"Wolfs's Old Mill", "Old Mill", "Old Mill of Wolfs"}}};
    for (const OWNER& o : owners)
    {
        for (int i = 0; i < 6; ++i)
        {
            words()->reset_used();
            NODE* n = sea();
            std::vector<DRAW_IS> v_Draws = o.v_Draws;
            v_Draws.push_back(at(1, 1000, 501, 999));
            v_Draws.push_back(at(2, 2, 0, 0));
            v_Draws.push_back(at(13, 100, d_ranges[i].first, d_ranges[i].second));
            seed_for(v_Draws);
            std::string* N = words()->name_node(n);
            EXPECT_EQ(random_draw_count(), 14);
            EXPECT_EQ(*N, expected.at(o.sOwner)[i / 2]) << o.sOwner << " " << d_ranges[i].first;
            EXPECT_EQ(words()->l_Used_names, std::list<std::string*>{N});
            delete N;
        }
    }

    // A settlement takes the owner even for d from 26 to 50.
    NODE* s = plain_land();
    s->bSettlement = true;
    words()->reset_used();
    seed_for({at(0, 100, 45, 99), at(1, 1000, 501, 999), at(2, 2, 0, 0), at(5, 100, 51, 99),
              at(6, 2, 0, 0), at(15, 100, 26, 50)});
    std::string* N = words()->name_node(s);
    EXPECT_EQ(random_draw_count(), 16);
    EXPECT_EQ(*N, "Old Mill of Harrow");
    words()->l_Used_names.clear();
    delete N;
}

TEST_F(NodeNamingTest, TheDrawsOfOneComposedAttemptInOrder)
{
    twWords.set(WORDS_ADJECTIVE, {"A0", "A1"});
    twWords.set(WORDS_ADVERB, {"V0", "V1", "V2"});
    twWords.set(WORDS_NAME, {"N0", "N1", "N2", "N3", "N4"});
    twWords.set(WORDS_TITLE, {"T0", "T1", "T2", "T3", "T4", "T5", "T6"});
    twWords.set(WORDS_MONSTER, {"M0", "M1", "M2", "M3", "M4", "M5", "M6", "M7", "M8", "M9", "M10"});
    twWords.set(WORDS_LOCATION, {"L0", "L1", "L2", "L3", "L4", "L5", "L6", "L7", "L8", "L9",
                                 "L10", "L11", "L12"});
    auto w = [](int iCategory, int iDraw, int iSize) {
        return *TEST_WORDS::word(iCategory, iDraw % iSize);
    };
    const char* PLACES[] = {"Mill", "Tower"};
    const char* DUNGEONS[] = {"Crypt", "Barrow"};
    // A land node that does not settle: r, f, A, V, r1, the roll, the word; A, Nm, Ti, the
    // choice, M, L, T, c; d.
    struct CASE
    {
        std::vector<DRAW_IS> v_Draws;
        std::function<std::string(const std::vector<int>&)> name;
        bool bDungeon;
    } cases[] = {
        {{at(1, 1000, 0, 100), at(5, 100, 0, 50), at(10, 100, 51, 99), at(14, 1000, 26, 49),
          at(15, 100, 0, 25)},
         [&](const std::vector<int>& d) {
             return w(WORDS_ADVERB, d[3], 3) + " " + w(WORDS_ADJECTIVE, d[2], 2) + " " +
                    DUNGEONS[d[6] % 2] + " of the " + w(WORDS_ADJECTIVE, d[7], 2) + " " +
                    w(WORDS_TITLE, d[9], 7) + " " + w(WORDS_NAME, d[8], 5);
         },
         true},
        {{at(1, 1000, 501, 999), at(5, 100, 51, 99), at(14, 1000, 301, 999), at(15, 100, 51, 99)},
         [&](const std::vector<int>& d) {
             return w(WORDS_LOCATION, d[12], 13) + "'s " + w(WORDS_ADJECTIVE, d[2], 2) + " " +
                    PLACES[d[6] % 2];
         },
         false},
        {{at(1, 1000, 101, 200), at(5, 100, 51, 99), at(14, 1000, 101, 200), at(15, 100, 0, 25)},
         [&](const std::vector<int>& d) {
             return std::string(PLACES[d[6] % 2]) + " of " + w(WORDS_MONSTER, d[11], 11) + "s";
         },
         false},
        {{at(1, 1000, 101, 200), at(5, 100, 51, 99), at(14, 1000, 11, 25), at(15, 100, 0, 25)},
         [&](const std::vector<int>& d) {
             return std::string(PLACES[d[6] % 2]) + " of " + w(WORDS_TITLE, d[13], 7) + "s";
         },
         false},
    };
    for (const CASE& c : cases)
    {
        words()->reset_used();
        NODE* n = plain_land();
        std::vector<DRAW_IS> v_Draws = c.v_Draws;
        v_Draws.push_back(at(0, 100, 45, 99));
        const unsigned int seed = seed_for(v_Draws);
        const std::vector<int> d = draws_of(seed, 16);
        random_seed(seed);
        std::string* N = words()->name_node(n);
        EXPECT_EQ(random_draw_count(), 16);
        EXPECT_EQ(*N, c.name(d));
        EXPECT_EQ(n->is_dungeon(), c.bDungeon);
        EXPECT_FALSE(n->is_settlement());
        EXPECT_EQ(*n->get_location(), w(WORDS_LOCATION, d[12], 13));
        words()->l_Used_names.clear();
        delete N;
    }
}

TEST_F(NodeNamingTest, TheDrawsOfSettlementStyleAttemptsInOrder)
{
    twWords.set(WORDS_LOCATION, {"L0", "L1", "L2", "L3", "L4", "L5", "L6", "L7", "L8", "L9",
                                 "L10", "L11", "L12"});
    // The start node settles: r, r1, r2, the kind, two population draws, L.
    const std::vector<DRAW_IS> v_Start = {at(0, 100, 0, 44), at(2, 100, 9, 99)};
    NODE* s = land_start(1);
    unsigned int seed = seed_for(v_Start);
    std::vector<int> d = draws_of(seed, 7);
    random_seed(seed);
    std::string* N = words()->name_node(s);
    EXPECT_EQ(random_draw_count(), 7);
    EXPECT_EQ(*N, *TEST_WORDS::word(WORDS_LOCATION, d[6] % 13));
    EXPECT_EQ(*s->get_location(), *N);
    const WORD* wKind = *std::next(WORD_DATABASE::l_Settlements.begin(), d[3] % 2);
    EXPECT_EQ(*s->sKind, *wKind->sWord);
    const int iPopulation = wKind->iMin + (d[4] * d[5]) % (wKind->iMax - wKind->iMin);
    EXPECT_EQ(s->get_population(), (int)((double)iPopulation * 0.9f));
    EXPECT_EQ(words()->l_Used_qualifiers, std::list<std::string*>{N});
    EXPECT_EQ(words()->l_Used_names, std::list<std::string*>{N});
    words()->reset_used();
    delete N;

    // No settlement: r, r1, L, then the place word for the kind.
    NODE* n = plain_land();
    seed = seed_for({at(0, 100, 0, 44)});
    d = draws_of(seed, 4);
    random_seed(seed);
    N = words()->name_node(n);
    EXPECT_EQ(random_draw_count(), 4);
    EXPECT_EQ(*N, *TEST_WORDS::word(WORDS_LOCATION, d[2] % 13));
    EXPECT_EQ(*n->sKind, d[3] % 2 == 0 ? "Mill" : "Tower");
    EXPECT_FALSE(n->is_settlement());
    words()->reset_used();
    delete N;
}

TEST_F(NodeNamingTest, ATakenLocationWordStartsASettlementStyleAttemptOver)
{
    // Harrow is taken already (by a landmass, say): drawn again for a settlement-style name
    // it starts a new attempt, whether or not the attempt drew a settlement kind.
    twWords.set(WORDS_LOCATION, {"harrow", "elm"});
    struct CASE
    {
        bool bSettles;
        std::vector<DRAW_IS> v_Draws;
        int iDraws;
    } cases[] = {
        // r, r1, r2, the kind, two population draws, L; the same again.
        {true, {at(0, 100, 0, 44), at(2, 100, 1, 99), at(6, 2, 0, 0), at(7, 100, 0, 44),
                at(9, 100, 1, 99), at(13, 2, 1, 1)}, 14},
        // r, r1, L; the same again, then the place word.
        {false, {at(0, 100, 0, 44), at(2, 2, 0, 0), at(3, 100, 0, 44), at(5, 2, 1, 1)}, 7},
    };
    for (const CASE& c : cases)
    {
        words()->reset_used();
        std::string sTaken = "Harrow";
        words()->l_Used_qualifiers.push_back(&sTaken);
        NODE* n = c.bSettles ? land_start(0) : plain_land();
        seed_for(c.v_Draws);
        std::string* N = words()->name_node(n);
        EXPECT_EQ(random_draw_count(), c.iDraws) << c.bSettles;
        EXPECT_EQ(*N, "Elm") << c.bSettles;
        EXPECT_EQ(*n->get_location(), "Elm") << c.bSettles;
        EXPECT_EQ(n->is_settlement(), c.bSettles);
        EXPECT_EQ(texts(words()->l_Used_qualifiers), (std::vector<std::string>{"Harrow", "Elm"}));
        words()->reset_used();
        delete N;
    }
}

TEST_F(NodeNamingTest, ANodeAtSeaLevelGetsNoSettlementStyleName)
{
    // A start node of rank 0 settles on land; at exactly 5000 it takes the sea's way: r, the
    // place part f, A, V and the place word, the owner part's eight draws, d.
    struct CASE
    {
        int iHeight;
        int iDraws;
        bool bSettles;
    } cases[] = {{5000, 14, false}, {5001, 7, true}};
    for (const CASE& c : cases)
    {
        words()->reset_used();
        NODE* n = node_at(100, 100, make_cell(c.iHeight));
        n->make_start();
        n->set_rank(0);
        // r for a settlement-style name; on land r2 passes.
        seed_for({at(0, 100, 0, 0), at(2, 100, 1, 99)});
        std::string* N = words()->name_node(n);
        EXPECT_EQ(random_draw_count(), c.iDraws) << c.iHeight;
        EXPECT_EQ(n->is_settlement(), c.bSettles) << c.iHeight;
        EXPECT_EQ(*N == "Harrow", c.bSettles) << *N;
        EXPECT_FALSE(n->is_dungeon());
        words()->reset_used();
        delete N;
    }
}

TEST_F(NodeNamingTest, ATakenNameStartsOverAndKeepsWhatTheAttemptDid)
{
    twWords.set(WORDS_LOCATION, {"harrow", "elm"});
    // A settlement-style Harrow that is free as a qualifier but taken as a name: it stays
    // recorded and the node goes on until a composed name ends it.
    std::string sTaken = "Harrow";
    words()->l_Used_names.push_back(&sTaken);
    NODE* n = plain_land();
    seed_for({at(0, 100, 0, 44), at(2, 2, 0, 0)});
    std::string* N = words()->name_node(n);
    EXPECT_NE(*N, "Harrow");
    EXPECT_EQ(n->get_location()->rfind("Harrow", 0), 0u);
    EXPECT_NE(std::find(words()->l_Used_qualifiers.begin(), words()->l_Used_qualifiers.end(), N),
              words()->l_Used_qualifiers.end());
    EXPECT_EQ(words()->l_Used_names.back(), N);
    words()->reset_used();
    delete N;

    // A composed Old Mill that is taken: the owner part of that attempt stays used.
    std::string sMill = "Old Mill";
    words()->l_Used_names.push_back(&sMill);
    NODE* m = sea();
    seed_for({at(1, 1000, 501, 999), at(2, 2, 0, 0), at(10, 2, 0, 0), at(12, 1000, 301, 999),
              at(13, 100, 26, 50)});
    N = words()->name_node(m);
    EXPECT_GT(random_draw_count(), 14);
    EXPECT_NE(*N, "Old Mill");
    EXPECT_EQ(m->get_location()->rfind("Harrow", 0), 0u);
    EXPECT_TRUE(recorded(words()->l_Used_qualifiers, "Harrow"));
    words()->reset_used();
    delete N;

    // A start node that does not settle in a composed attempt becomes a dungeon; the name
    // is taken, and the settlement-style attempt after it settles: it ends with both flags.
    // r, f, A, V, r1, r2 (0 fails), the roll, the dungeon word; the owner part (a person);
    // d; then r, r1, r2, the kind, two population draws, L.
    std::string sCrypt = "Old Crypt";
    std::string sBarrow = "Old Barrow";
    words()->l_Used_names.push_back(&sCrypt);
    words()->l_Used_names.push_back(&sBarrow);
    NODE* s = land_start(0);
    seed_for({at(0, 100, 45, 99), at(1, 1000, 501, 999), at(2, 2, 0, 0), at(5, 100, 0, 0),
              at(6, 100, 0, 50), at(15, 1000, 201, 300), at(16, 100, 26, 50), at(17, 100, 0, 44),
              at(19, 100, 1, 99)});
    N = words()->name_node(s);
    EXPECT_EQ(random_draw_count(), 24);
    EXPECT_EQ(*N, "Harrow");
    EXPECT_TRUE(s->is_dungeon());
    EXPECT_TRUE(s->is_settlement());
    EXPECT_EQ(*s->get_location(), "HarrowHarrow"); // the owner part's location word, then the name
    words()->reset_used();
    delete N;
}

TEST_F(NodeNamingTest, NoPlaceWordReadsAsTheEmptyWord)
{
    // Nothing fits above 14000: the node gets the empty kind and keeps the last icon, and the
    // missing word costs no draw.
    iLast_image = 7;
    NODE* n = node_at(100, 100, make_cell(20000));
    seed_for({at(0, 100, 45, 99), at(1, 1000, 501, 999), at(2, 2, 0, 0), at(5, 100, 0, 50),
              at(13, 1000, 301, 999), at(14, 100, 0, 25)});
    std::string* N = nullptr;
    std::string sShown = capture_messages([&] { N = words()->name_node(n); });
    EXPECT_EQ(random_draw_count(), 15);
    EXPECT_EQ(*N, "Old  of Harrow");
    EXPECT_EQ(*n->sKind, "");
    EXPECT_EQ(icon(n), 7);
    EXPECT_TRUE(n->is_dungeon());
    EXPECT_EQ(sShown, no_word("dungeon", 1));
    words()->reset_used();
    delete N;

    // Settlement style: r, r1, L and no place word.
    NODE* m = node_at(100, 100, make_cell(20000));
    seed_for({at(0, 100, 0, 44)});
    sShown = capture_messages([&] { N = words()->name_node(m); });
    EXPECT_EQ(random_draw_count(), 3);
    EXPECT_EQ(*N, "Harrow");
    EXPECT_EQ(*m->sKind, "");
    EXPECT_EQ(icon(m), 7);
    EXPECT_EQ(sShown, no_word("place", 0));
    words()->reset_used();
    delete N;
}

TEST_F(NodeNamingTest, MakeNameTakesTheOldNameOutOfTheRecordBeforeFreeingIt)
{
    twWords.set(WORDS_LOCATION, {"harrow", "elm", "ash", "oak"});
    NODE* n = sea();
    *n->sName = "Before";
    words()->l_Used_names.push_back(n->sName);
    words()->l_Used_qualifiers.push_back(n->sName);
    for (int i = 0; i < 3; ++i)
    {
        std::string* sOld = n->sName;
        random_seed(40 + i);
        n->make_name();
        EXPECT_NE(n->sName, sOld);
        for (auto* l_List : {&words()->l_Used_names, &words()->l_Used_qualifiers})
            EXPECT_EQ(std::find(l_List->begin(), l_List->end(), sOld), l_List->end());
        EXPECT_EQ(words()->l_Used_names, std::list<std::string*>{n->sName});
        // Reads every entry: none may point at a freed name.
        std::string sProbe = "probe";
        EXPECT_EQ(words()->find_word(words()->l_Used_qualifiers, &sProbe), nullptr);
        EXPECT_STREQ(n->get_name(), n->sName->c_str());
        EXPECT_FALSE(n->sName->empty());
    }
}

// ---- Used-up word lists ----------------------------------------------------------------

TEST_F(NodeNamingTest, AnOwnerPartIsDrawnOnWhileAnyFormIsFreeThenNumbered)
{
    // Every owner part the fixture's words make: a location, persons, monsters, titles and
    // their forms with either adjective.
    const std::vector<std::string> v_Owners = {
        "Harrow",          "Brenna",         "Duke Brenna",         "Wolfs",
        "Dukes",           "Old Wolfs",      "Grim Wolfs",          "the Old Dukes",
        "the Grim Dukes",  "the Old Brenna", "the Old Duke Brenna", "the Grim Brenna",
        "the Grim Duke Brenna"};
    auto take_all_but = [&](std::vector<std::string>& v_Taken, const std::string& sFree) {
        words()->reset_used();
        v_Taken.clear();
        v_Taken.reserve(v_Owners.size());
        for (const std::string& s : v_Owners)
            if (s != sFree)
            {
                v_Taken.push_back(s);
                words()->l_Used_qualifiers.push_back(&v_Taken.back());
            }
    };
    std::vector<std::string> v_Taken;

    // One form free: a node that is no settlement draws until it has it, and nothing shows.
    for (const std::string& sFree : v_Owners)
    {
        take_all_but(v_Taken, sFree);
        random_seed(1);
        std::string* O = nullptr;
        const std::string sShown = capture_messages([&] { O = words()->owner_part(sea()); });
        EXPECT_EQ(*O, sFree);
        EXPECT_EQ(sShown, "") << sFree;
    }

    // None free: nodes of every kind take the location word numbered, with one message.
    take_all_but(v_Taken, "");
    std::vector<std::string> v_Got, v_Labels;
    const std::string sShown = capture_messages([&] {
        NODE* nDungeon = plain_land();
        nDungeon->set_dungeon(true);
        NODE* nSettlement = plain_land();
        nSettlement->bSettlement = true;
        for (NODE* n : {sea(), plain_land(), nDungeon, nSettlement})
        {
            random_seed(3);
            v_Got.push_back(*words()->owner_part(n));
            EXPECT_EQ(random_draw_count(), 8);
            v_Labels.push_back(*n->get_location());
        }
    });
    const std::vector<std::string> v_Numbered = {"Harrow 2", "Harrow 3", "Harrow 4", "Harrow 5"};
    EXPECT_EQ(v_Got, v_Numbered);
    EXPECT_EQ(v_Labels, v_Numbered);
    EXPECT_EQ(sShown, "ERROR:  Every word of [locations] in ./data/words.dat is taken.  Further "
                      "names from it end in a number; add words to that list.\n");
    words()->reset_used();
}

TEST_F(NodeNamingTest, NamingEndsForEveryNodeWhenTheListsAreUsedUp)
{
    // One word a list and more nodes than names: every node still gets a name of its own.
    std::vector<NODE*> v_Nodes;
    for (int i = 0; i < 40; ++i)
    {
        NODE* n = i % 3 == 0 ? sea() : plain_land();
        if (i % 5 == 0)
            n->make_start();
        n->set_rank(i % 4);
        v_Nodes.push_back(n);
    }
    std::set<std::string> set_Names;
    random_seed(11);
    const std::string sShown = capture_messages([&] {
        for (NODE* n : v_Nodes)
        {
            n->make_name();
            EXPECT_TRUE(set_Names.insert(n->get_name()).second) << n->get_name();
        }
    });
    EXPECT_EQ(sShown, "ERROR:  Every word of [locations] in ./data/words.dat is taken.  Further "
                      "names from it end in a number; add words to that list.\n");
    EXPECT_TRUE(recorded(words()->l_Used_qualifiers, "Harrow 2"));
}
