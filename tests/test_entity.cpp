#include <gtest/gtest.h>

#include <vector>

#include "framework/entity.h"

namespace
{
// Runs one logic step the way the main loop does.
void tick(ENTITY& e)
{
    ++game_time;
    e.update();
}

struct STEP
{
    float fX;
    float fVx;
    bool bMoving;
};

void expect_steps(ENTITY& e, const std::vector<STEP>& l_Steps)
{
    for (size_t i = 0; i < l_Steps.size(); ++i)
    {
        tick(e);
        EXPECT_FLOAT_EQ(e.fX, l_Steps[i].fX) << "step " << i;
        EXPECT_FLOAT_EQ(e.fVx, l_Steps[i].fVx) << "step " << i;
        EXPECT_EQ(e.is_moving(), l_Steps[i].bMoving) << "step " << i;
    }
}
}

TEST(Entity, MoveByStopsOnDestinationAndKeepsOtherAxis)
{
    ENTITY e;
    e.move_by(-5, 0, -4, 0);
    expect_steps(e, {{-4, -4, true}, {-5, 0, false}});
    EXPECT_FLOAT_EQ(e.fY, 0);
}

TEST(Entity, MoveByKeepsDestinationOfAnAxisWithZeroOffset)
{
    ENTITY e;
    e.set_destination(0, 7);
    e.move_by(5, 0, 1, 0);
    EXPECT_FLOAT_EQ(e.fDest_x, 5);
    EXPECT_FLOAT_EQ(e.fDest_y, 7);
}

TEST(Entity, MoveToChoosesSignsAndSnapsOnPassing)
{
    ENTITY e;
    e.move_to(10, 0, 3, 3);
    // y is not below its destination, so it heads away and snaps on the first step.
    EXPECT_FLOAT_EQ(e.fVy, -3);
    expect_steps(e, {{3, 3, true}, {6, 3, true}, {9, 3, true}, {10, 0, false}});
    EXPECT_FLOAT_EQ(e.fY, 0);
    EXPECT_FLOAT_EQ(e.fVy, 0);
}

TEST(Entity, LandingExactlyOnDestinationIsANormalStep)
{
    ENTITY e;
    e.move_to(6, 0, 3, 0);
    expect_steps(e, {{3, 3, true}, {6, 3, true}, {6, 0, false}});
}

TEST(Entity, VelocityPointingAwaySnapsAtOnce)
{
    ENTITY e;
    e.move_to(10, 0, -2, 0);
    expect_steps(e, {{10, 0, false}});
}

TEST(Entity, HaltStopsAtOnceButIsMovingUntilNextUpdate)
{
    ENTITY e;
    e.move_to(100, 0, 3, 0);
    tick(e);
    e.halt();
    EXPECT_FLOAT_EQ(e.fVx, 0);
    EXPECT_TRUE(e.is_moving());
    tick(e);
    EXPECT_FALSE(e.is_moving());
    EXPECT_FLOAT_EQ(e.fX, 3);
}

TEST(Entity, SetPositionJumpsAndStops)
{
    ENTITY e;
    e.move_to(100, 50, 3, 3);
    tick(e);
    e.set_position(-7, 9);
    EXPECT_FALSE(e.is_moving());
    EXPECT_FLOAT_EQ(e.fX, -7);
    EXPECT_FLOAT_EQ(e.fY, 9);
    EXPECT_FLOAT_EQ(e.fDest_x, -7);
    EXPECT_FLOAT_EQ(e.fDest_y, 9);
    EXPECT_FLOAT_EQ(e.fVx, 0);
    EXPECT_FLOAT_EQ(e.fVy, 0);
}

TEST(Entity, FreeMovementHasNoDestinationTest)
{
    ENTITY e;
    e.fVx = 2;
    tick(e);
    tick(e);
    EXPECT_FLOAT_EQ(e.fX, 4);
    EXPECT_FALSE(e.is_moving());
}

TEST(Entity, StepsOnlyEveryIntervalButClearsMovingEveryUpdate)
{
    ENTITY e;
    game_time = 0;
    e.set_update_interval(3);
    e.move_to(100, 0, 1, 0);
    std::vector<float> l_X;
    for (int i = 0; i < 7; ++i)
    {
        tick(e);
        l_X.push_back(e.fX);
    }
    EXPECT_EQ(l_X, (std::vector<float>{0, 0, 1, 1, 1, 2, 2}));

    e.halt();
    tick(e);
    EXPECT_FALSE(e.is_moving()) << "cleared even on an update without a step";
}

TEST(Entity, AccelerationIsClampedAndShowsInTheNextStep)
{
    ENTITY e;
    e.set_accel_x(1);
    e.set_max_vx(2);
    std::vector<float> l_V;
    std::vector<float> l_X;
    for (int i = 0; i < 4; ++i)
    {
        tick(e);
        l_V.push_back(e.fVx);
        l_X.push_back(e.fX);
    }
    EXPECT_EQ(l_V, (std::vector<float>{1, 2, 2, 2}));
    EXPECT_EQ(l_X, (std::vector<float>{0, 1, 3, 5}));

    e.set_accel_x(-10);
    tick(e);
    EXPECT_FLOAT_EQ(e.fVx, -2) << "the limit holds for both signs";
}

TEST(Entity, ResetRestoresDefaults)
{
    ENTITY e;
    e.move_to(5, 5, 1, 1);
    e.set_accel_y(3);
    e.set_max_vy(1);
    e.set_update_interval(9);
    e.reset(2, 3);
    EXPECT_FLOAT_EQ(e.fX, 2);
    EXPECT_FLOAT_EQ(e.fDest_y, 3);
    EXPECT_FLOAT_EQ(e.fAy, 0);
    EXPECT_FLOAT_EQ(e.fMax_vy, 10000.0f);
    EXPECT_EQ(e.iUpdate_interval, 1);
    EXPECT_EQ(e.iLast_update, 0);
    EXPECT_FALSE(e.is_moving());
}
