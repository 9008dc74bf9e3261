#include <gtest/gtest.h>

#include <string>

#include "framework/entity.h"
#include "world/game.h"

namespace
{
// A stand-in for the timer: every wait is one rest, and a tick arrives every few rests.
// The loop's steps are written down in the order they happen.
class MainLoopTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ticks = 0;
        frames = 0;
        game_time = 0;
    }
    void TearDown() override
    {
        ticks = 0;
        frames = 0;
        game_time = 0;
    }

    void pass()
    {
        main_loop_pass([this] { wait(); }, [this] { logic(); }, [this] { draw(); });
    }
    void wait()
    {
        ++iRests;
        if (iRests % iRests_per_tick == 0)
            ++ticks;
        ASSERT_LT(iRests, 1000) << "the loop never stops waiting";
    }
    void logic()
    {
        sLog += "L" + std::to_string(game_time) + "/" + std::to_string(ticks.load()) + " ";
        ticks += iTicks_during_logic;
        iTicks_during_logic = 0;
    }
    void draw() { sLog += "F" + std::to_string(frames.load()) + " "; }

    int iRests = 0;
    int iRests_per_tick = 3;
    int iTicks_during_logic = 0;
    std::string sLog;
};
}

TEST_F(MainLoopTest, PassWaitsForTwoTicksThenRunsBothStepsAndOneFrame)
{
    struct CASE
    {
        int iPending;
        int iRests;        // rests before the steps run, a tick every third
        const char* sLog;  // game_time and the ticks left while each step runs, then the frame
    };
    const CASE cases[] = {
        {0, 6, "L1/1 L2/0 F1 "},
        {1, 3, "L1/1 L2/0 F1 "},  // one pending tick is not enough for a frame
        {2, 0, "L1/1 L2/0 F1 "},
        // Fallen behind: every due step runs back to back before the one frame.
        {7, 0, "L1/6 L2/5 L3/4 L4/3 L5/2 L6/1 L7/0 F1 "},
    };
    for (const CASE& k : cases)
    {
        iRests = 0;
        sLog.clear();
        game_time = 0;
        frames = 0;
        ticks = k.iPending;
        pass();
        EXPECT_EQ(iRests, k.iRests) << k.iPending;
        EXPECT_EQ(sLog, k.sLog) << k.iPending;
        EXPECT_EQ(ticks, 0) << k.iPending;
    }
}

TEST_F(MainLoopTest, TicksArrivingDuringTheStepsRunBeforeTheFrame)
{
    ticks = 2;
    iTicks_during_logic = 2;
    pass();
    EXPECT_EQ(sLog, "L1/1 L2/2 L3/1 L4/0 F1 ");
    EXPECT_EQ(game_time, 4);

    // The next pass waits again and counts its own frame.
    sLog.clear();
    pass();
    EXPECT_EQ(iRests, 6);
    EXPECT_EQ(sLog, "L5/1 L6/0 F2 ");
}

TEST_F(MainLoopTest, QuitIsAskedOncePerPassBeforeTheWait)
{
    // Held from the start: no wait, no step, no frame.
    int iAsked = 0;
    main_loop([&] { return ++iAsked > 0; }, [this] { wait(); }, [this] { logic(); }, [this] { draw(); });
    EXPECT_EQ(iAsked, 1);
    EXPECT_EQ(iRests, 0);
    EXPECT_EQ(sLog, "");

    // Pressed during the third pass: that pass still draws its frame.
    iAsked = 0;
    iRests_per_tick = 1;
    main_loop([&] { return ++iAsked > 3; }, [this] { wait(); }, [this] { logic(); }, [this] { draw(); });
    EXPECT_EQ(iAsked, 4);
    EXPECT_EQ(sLog, "L1/1 L2/0 F1 L3/1 L4/0 F2 L5/1 L6/0 F3 ");
}

TEST(GameTiming, TicksForSecondsAndEveryNTicks)
{
    int iOld_rate = tick_rate;
    tick_rate = 60;
    EXPECT_EQ(ticks_for_seconds(3), 180);
    EXPECT_EQ(ticks_for_seconds(0), 0);
    tick_rate = 25;
    EXPECT_EQ(ticks_for_seconds(2), 50);
    tick_rate = iOld_rate;

    struct CASE
    {
        int iGame_time;
        int n;
        bool bDue;
    };
    const CASE cases[] = {{0, 5, true}, {10, 5, true}, {11, 5, false}, {12, 3, true}, {13, 1, true}, {9, 10, false}};
    for (const CASE& k : cases)
    {
        game_time = k.iGame_time;
        EXPECT_EQ(every_n_ticks(k.n), k.bDue) << k.iGame_time << " every " << k.n;
    }
    game_time = 0;
}
