#include <gtest/gtest.h>

#include <vector>

#include "framework/random.h"

TEST(Random, SequenceFromKnownSeeds)
{
    // seed = seed * 214013 + 2531011; result = (seed >> 16) & 0x7FFF
    random_seed(1);
    std::vector<int> l_Draws;
    for (int i = 0; i < 5; ++i)
        l_Draws.push_back(random_next());
    EXPECT_EQ(l_Draws, (std::vector<int>{41, 18467, 6334, 26500, 19169}));

    random_seed(0);
    EXPECT_EQ(random_next(), 38);
    EXPECT_EQ(random_next(), 7719);
}

TEST(Random, StaysInFifteenBitsAndCountsDraws)
{
    random_seed(0xFFFFFFFFu);
    for (int i = 0; i < 100000; ++i)
    {
        int iDraw = random_next();
        ASSERT_GE(iDraw, 0);
        ASSERT_LE(iDraw, RANDOM_MAX);
    }
    EXPECT_EQ(random_draw_count(), 100000);
    random_seed(5);
    EXPECT_EQ(random_draw_count(), 0);
}
