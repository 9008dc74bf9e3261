#include <gtest/gtest.h>

#include "framework/camera.h"

namespace
{
void tick(CAMERA& c)
{
    ++game_time;
    c.update();
}

int steps_until_still(CAMERA& c)
{
    int iSteps = 0;
    while (c.is_moving() && iSteps < 10000)
    {
        tick(c);
        ++iSteps;
    }
    return iSteps;
}
}

TEST(Camera, TransformsAroundScreenCentre)
{
    CAMERA c;
    EXPECT_FLOAT_EQ(c.world_to_screen_x(0), 320);
    EXPECT_FLOAT_EQ(c.world_to_screen_y(0), 240);

    c.pan_to(320, 240, 0);
    EXPECT_FLOAT_EQ(c.world_to_screen_x(17), 17);
    c.set_scale(3.0f);
    EXPECT_FLOAT_EQ(c.world_to_screen_x(330), 350);
    EXPECT_FLOAT_EQ(c.world_to_screen_y(230), 210);
    EXPECT_FLOAT_EQ(c.scale_length_x(5), 15.0f);
    EXPECT_FLOAT_EQ(c.scale_length_y(5), 15.0f);

    c.disable_transform();
    EXPECT_FLOAT_EQ(c.world_to_screen_x(123.5f), 123.5f);
    EXPECT_FLOAT_EQ(c.scale_length_x(5), 5.0f);
}

TEST(Camera, PanGlidesInWholeStepsEitherWay)
{
    CAMERA c;
    c.pan_to(320, 240, 0);
    c.pan_to(100, 240, 5.0f);
    EXPECT_FLOAT_EQ(c.fVx, -5);
    for (int i = 0; i < 43; ++i)
        tick(c);
    EXPECT_GT(c.get_x(), 100);
    tick(c);
    EXPECT_FLOAT_EQ(c.get_x(), 100) << "there after 44 steps";
    // Landing exactly is a normal step: the next one stops the glide.
    EXPECT_EQ(steps_until_still(c), 1);

    c.pan_to(320, 240, 5.0f);
    EXPECT_FLOAT_EQ(c.fVx, 5);
    EXPECT_EQ(steps_until_still(c), 45);
    EXPECT_FLOAT_EQ(c.get_x(), 320);
}

TEST(Camera, PanShorterThanSpeedArrivesInOneStep)
{
    CAMERA c;
    c.pan_to(0, 3, 5.0f);
    tick(c);
    EXPECT_FLOAT_EQ(c.get_y(), 3);
}

TEST(Camera, NotMovingReleasesLock)
{
    CAMERA c;
    c.lock();
    c.pan_to(50, 50, 0);
    tick(c);
    EXPECT_FALSE(c.bLocked);
}

TEST(Camera, ZoomAnimationSnapsOntoTarget)
{
    CAMERA c;
    c.zoom_to(3.0f, 0.05f);
    int iSteps = 0;
    while (c.get_zoom_speed() != 0 && iSteps < 1000)
    {
        tick(c);
        ++iSteps;
    }
    EXPECT_FLOAT_EQ(c.get_zoom(), 3.0f);
    // 40 steps of growth, then the step that would pass 3.0 snaps onto it.
    EXPECT_EQ(iSteps, 41);
    EXPECT_FLOAT_EQ(c.fScale_x, 3.0f);

    c.zoom_to(1.0f, -0.05f);
    while (c.get_zoom_speed() != 0)
        tick(c);
    EXPECT_FLOAT_EQ(c.get_zoom(), 1.0f);

    // A speed pointing away from the target snaps at the next update.
    c.zoom_to(3.0f, -0.05f);
    tick(c);
    EXPECT_FLOAT_EQ(c.get_zoom(), 3.0f);
    EXPECT_FLOAT_EQ(c.get_zoom_speed(), 0);
}

TEST(Camera, CurrentIsClampedToTheFiveCameras)
{
    CAMERA* pFirst = CAMERA::current();
    CAMERA::set_current(7);
    CAMERA* pLast = CAMERA::current();
    EXPECT_EQ(CAMERA::iCurrent, 4);
    EXPECT_EQ(pLast, pFirst + 4);
    CAMERA::set_current(-3);
    EXPECT_EQ(CAMERA::current(), pFirst);
}

TEST(Camera, EdgeScrollFollowsMouseMargins)
{
    struct CASE
    {
        int iMouse_x;
        int iMouse_y;
        float fDx;
        float fDy;
    };
    const CASE l_Cases[] = {
        {10, 240, -10, 0}, {30, 240, -1, 0}, {320, 240, 0, 0}, {600, 240, 1, 0},
        {630, 240, 10, 0}, {320, 10, 0, -10}, {320, 40, 0, -1}, {320, 440, 0, 1},
        {320, 470, 0, 10}, {630, 470, 10, 10},
        // Each border and its neighbour on the other side.
        {19, 240, -10, 0}, {20, 240, -1, 0}, {49, 240, -1, 0}, {50, 240, 0, 0},
        {590, 240, 0, 0}, {591, 240, 1, 0}, {620, 240, 1, 0}, {621, 240, 10, 0},
        {320, 19, 0, -10}, {320, 20, 0, -1}, {320, 49, 0, -1}, {320, 50, 0, 0},
        {320, 430, 0, 0}, {320, 431, 0, 1}, {320, 460, 0, 1}, {320, 461, 0, 10},
    };
    for (const CASE& k : l_Cases)
    {
        CAMERA c;
        c.pan_to(320, 240, 0);
        mouse_x = k.iMouse_x;
        mouse_y = k.iMouse_y;
        c.edge_scroll();
        EXPECT_FLOAT_EQ(c.fDest_x, 320 + k.fDx) << k.iMouse_x << "," << k.iMouse_y;
        EXPECT_FLOAT_EQ(c.fDest_y, 240 + k.fDy) << k.iMouse_x << "," << k.iMouse_y;
    }
    CAMERA c;
    c.pan_to(320, 240, 0);
    c.lock();
    mouse_x = 0;
    c.edge_scroll();
    EXPECT_FALSE(c.is_moving());
}
