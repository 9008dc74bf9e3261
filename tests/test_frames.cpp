// Whole frames of one seeded start, pinned by digest: every pixel the scene draws in each
// state the player meets first (the start, H held, a node hovered, the quest panel with three
// messages, each window open over it). A change anywhere in the layout, the drawing order or
// the generation moves a digest.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "framework/camera.h"
#include "tests/game_fixture.h"
#include "tests/planet_digest.h"
#include "world/map/map.h"
#include "world/map/node.h"
#include "world/world.h"

namespace
{
class FramesTest : public GAME_TEST
{
protected:
    static void SetUpTestSuite()
    {
        start_game(1, 100);
        // The zoom snaps to 3 on the first pass; the token's holes show from the second.
        pass();
        pass();
    }

    // One press of the key, a pass held and a pass released.
    static void press_key(int iKey)
    {
        key[iKey] = 1;
        pass();
        key[iKey] = 0;
        pass();
    }
};

struct FRAME
{
    const char* sState;
    unsigned long long ullDigest;
};

// When a change is meant to move pixels: run test_frames with ORV_FRAMES_DIR set to a folder,
// look at the frames it saves there as <state>.bmp, and paste the table it prints.
const FRAME PINNED[] = {
    {"start", 0x803e08d26f73f9aeull},
    {"h_held", 0x14ea29eb0141d121ull},
    {"node_hovered", 0x884c795b1aae377dull},
    {"three_messages", 0xa58f559f204c4583ull},
    {"population_chart", 0x1eda86ddcc4cab4bull},
    {"recent_weather", 0xd42fcdd53c6ce573ull},
    {"quests", 0x2fa4e60f7a16d9c2ull},
};
}

TEST_F(FramesTest, EachStateOfASeededStartDrawsItsPinnedFrame)
{
    NODE* nStart = map()->nPlayer_node;
    ASSERT_NE(nStart, nullptr);
    // The neighbour that lies nearest the screen centre, away from the scrolling margins.
    NODE* nHovered = nullptr;
    CAMERA* c = CAMERA::current();
    float fBest = 1e9f;
    for (NODE* n : nStart->passable_neighbours())
    {
        mouse_on(n);
        const float fOff = std::abs(mouse_x - 320.0f) + std::abs(mouse_y - 240.0f);
        if (fOff < fBest)
        {
            fBest = fOff;
            nHovered = n;
        }
    }
    release_input();
    ASSERT_NE(nHovered, nullptr);
    ASSERT_FLOAT_EQ(c->get_zoom(), 3.0f);

    // Each state, reached from the one before; the frame is the one its last pass drew.
    const std::vector<std::pair<const char*, std::function<void()>>> a_States = {
        // The mouse rests at the centre, on the start node: hovered, it shows no badge yet.
        {"start", [] {}},
        {"h_held",
         []
         {
             key[KEY_H] = 1;
             pass();
             key[KEY_H] = 0;
         }},
        {"node_hovered",
         [&]
         {
             mouse_on(nHovered);
             pass();
             EXPECT_TRUE(nHovered->bHovered);
         }},
        {"three_messages",
         []
         {
             release_input();
             while (world()->get_messages().size() < 3)
                 world()->add_message(new std::string("Travel to Tarn to unlock edge.  Rank:  3"));
             pass();
         }},
        {"population_chart", [] { press_key(KEY_S); }},
        {"recent_weather",
         []
         {
             press_key(KEY_S);
             press_key(KEY_W);
         }},
        {"quests",
         []
         {
             press_key(KEY_W);
             press_key(KEY_Q);
         }},
    };
    const char* sDir = std::getenv("ORV_FRAMES_DIR");
    std::string strTable;
    size_t i = 0;
    for (const auto& [sState, reach] : a_States)
    {
        reach();
        const unsigned long long ullDigest = digest_bitmap(s_bmpBuffer);
        char sLine[96];
        snprintf(sLine, sizeof sLine, "    {\"%s\", 0x%016llxull},\n", sState, ullDigest);
        strTable += sLine;
        if (sDir != nullptr)
            save_bitmap((std::string(sDir) + "/" + sState + ".bmp").c_str(), s_bmpBuffer, nullptr);
        ASSERT_LT(i, std::size(PINNED));
        EXPECT_STREQ(PINNED[i].sState, sState);
        EXPECT_EQ(PINNED[i].ullDigest, ullDigest) << "the frame of the state " << sState;
        ++i;
    }
    EXPECT_EQ(i, std::size(PINNED));
    if (HasFailure())
        std::printf("The frames as drawn now:\n%s", strTable.c_str());
}
