#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/camera.h"
#include "framework/colours.h"
#include "tests/game_fixture.h"
#include "world/scene.h"
#include "world/world.h"

namespace
{
class SceneTest : public GAME_TEST
{
protected:
    // The scene generates the whole world, so it is built once, as the game builds it.
    static void SetUpTestSuite() { start_game(1, 100); }

    void SetUp() override
    {
        release_input();
        c = CAMERA::current();
        c->reset(320, 240);
        c->zoom_to(1.0f, 0);
        c->set_scale(3.0f);
        game_time = 0;
        scene = s_pScene;
        scene->iZoom_level = 2;
    }
    void TearDown() override
    {
        release_input();
        c->reset(0, 0);
        c->zoom_to(1.0f, 0);
        c->set_scale(1.0f);
        game_time = 0;
    }

    CAMERA* c = nullptr;
    SCENE* scene = nullptr;
};
}

TEST_F(SceneTest, StartsAtLevelTwoAndDropsPendingTicks)
{
    EXPECT_EQ(scene->iZoom_level, 2);
    EXPECT_EQ(s_iTicks_after_start, 0);
    EXPECT_TRUE(scene->world->is_generated());
}

TEST_F(SceneTest, ZoomInRunsItsAnimationAndIgnoresPressesMeanwhile)
{
    key[KEY_EQUALS] = 1;
    step();
    EXPECT_EQ(scene->iZoom_level, 3);
    EXPECT_FLOAT_EQ(c->get_zoom_speed(), 0.08f);
    // Still held: no second step while the animation runs.
    int iGrowth = 1;
    while (c->get_zoom_speed() != 0 && iGrowth < 100)
    {
        EXPECT_EQ(scene->iZoom_level, 3);
        step();
        if (c->get_zoom_speed() != 0)
            ++iGrowth;
    }
    EXPECT_EQ(iGrowth, 37) << "steps of growth before the snap";
    EXPECT_FLOAT_EQ(c->get_zoom(), 6.0f);
    EXPECT_EQ(scene->iZoom_level, 3);

    // The animation over, the held key takes the next level.
    step();
    EXPECT_EQ(scene->iZoom_level, 4);
    EXPECT_FLOAT_EQ(c->get_zoom_speed(), 0.1f);
}

TEST_F(SceneTest, ZoomLevelsStepOneAnimationAtATimeAndStopAtTheEnds)
{
    struct CASE
    {
        int iKey;
        int iFrom;
        int iTo;
        float fTarget;
        float fSpeed;
    };
    const CASE cases[] = {
        {KEY_MINUS, 4, 3, 6.0f, -0.1f}, {KEY_MINUS, 3, 2, 3.0f, -0.08f}, {KEY_MINUS, 2, 1, 1.0f, -0.05f},
        {KEY_MINUS, 1, 1, 0, 0},        {KEY_EQUALS, 1, 2, 3.0f, 0.05f}, {KEY_EQUALS, 2, 3, 6.0f, 0.08f},
        {KEY_EQUALS, 3, 4, 9.0f, 0.1f}, {KEY_EQUALS, 4, 4, 0, 0},
    };
    const float LEVEL_ZOOM[] = {0, 1.0f, 3.0f, 6.0f, 9.0f};
    for (const CASE& k : cases)
    {
        c->set_scale(LEVEL_ZOOM[k.iFrom]);
        c->zoom_to(LEVEL_ZOOM[k.iFrom], 0);
        scene->iZoom_level = k.iFrom;
        key[k.iKey] = 1;
        scene->update();
        key[k.iKey] = 0;
        EXPECT_EQ(scene->iZoom_level, k.iTo) << "key " << k.iKey << " from " << k.iFrom;
        if (k.iFrom != k.iTo)
        {
            EXPECT_FLOAT_EQ(c->fZoom_target, k.fTarget) << "from " << k.iFrom;
            EXPECT_FLOAT_EQ(c->get_zoom_speed(), k.fSpeed) << "from " << k.iFrom;
        }
        else
            EXPECT_EQ(c->get_zoom_speed(), 0) << "nothing at the end level " << k.iFrom;
    }

    // Both keys at once: the zoom out starts and blocks the zoom in of the same step.
    c->zoom_to(3.0f, 0);
    scene->iZoom_level = 2;
    key[KEY_MINUS] = 1;
    key[KEY_EQUALS] = 1;
    scene->update();
    EXPECT_EQ(scene->iZoom_level, 1);
    EXPECT_FLOAT_EQ(c->get_zoom_speed(), -0.05f);
}

TEST_F(SceneTest, TheLaterOfTwoDirectionsWins)
{
    struct CASE
    {
        const char* sName;
        std::vector<int> vKeys;
        int iMouse_x, iMouse_y;
        float fDx, fDy;  // movement of the first step
    };
    const CASE cases[] = {
        {"left arrow", {KEY_LEFT}, 320, 240, -4, 0},
        {"up arrow", {KEY_UP}, 320, 240, 0, -4},
        {"left and right", {KEY_LEFT, KEY_RIGHT}, 320, 240, 4, 0},
        {"up and down", {KEY_UP, KEY_DOWN}, 320, 240, 0, 4},
        {"right then up", {KEY_RIGHT, KEY_UP}, 320, 240, 0, -4},
        {"mouse at the right edge", {}, 600, 240, 2, 0},
        {"mouse at the top edge", {}, 320, 40, 0, -2},
        {"mouse in the bottom right corner", {}, 600, 470, 0, 2},
        {"mouse in the top left corner", {}, 10, 10, 0, -2},
        {"arrow then mouse at the left edge", {KEY_DOWN}, 40, 240, -2, 0},
    };
    for (const CASE& k : cases)
    {
        c->reset(320, 240);
        for (int iKey : k.vKeys)
            key[iKey] = 1;
        mouse_x = k.iMouse_x;
        mouse_y = k.iMouse_y;
        step();
        EXPECT_FLOAT_EQ(c->get_x() - 320, k.fDx) << k.sName;
        EXPECT_FLOAT_EQ(c->get_y() - 240, k.fDy) << k.sName;
        step();
        EXPECT_FLOAT_EQ(c->get_x() - 320, 2 * k.fDx) << k.sName << ", second step";
        EXPECT_FLOAT_EQ(c->get_y() - 240, 2 * k.fDy) << k.sName << ", second step";
        release_input();
    }
}

TEST_F(SceneTest, MouseMarginsBeginAtTheirExactBorders)
{
    struct CASE
    {
        int iMouse_x, iMouse_y;
        float fDx, fDy;  // movement of the first step
    };
    const CASE cases[] = {
        {49, 240, -2, 0}, {50, 240, 0, 0},  {590, 240, 0, 0}, {591, 240, 2, 0},
        {320, 49, 0, -2}, {320, 50, 0, 0},  {320, 430, 0, 0}, {320, 431, 0, 2},
        {20, 240, -2, 0}, {620, 240, 2, 0}, {320, 20, 0, -2}, {320, 460, 0, 2},
    };
    for (const CASE& k : cases)
    {
        c->reset(320, 240);
        mouse_x = k.iMouse_x;
        mouse_y = k.iMouse_y;
        step();
        EXPECT_FLOAT_EQ(c->get_x() - 320, k.fDx) << k.iMouse_x << "," << k.iMouse_y;
        EXPECT_FLOAT_EQ(c->get_y() - 240, k.fDy) << k.iMouse_x << "," << k.iMouse_y;
        release_input();
    }
}

TEST_F(SceneTest, ReleasedScrollGoesOnToItsDestinationAndStops)
{
    key[KEY_RIGHT] = 1;
    step();
    step();
    EXPECT_FLOAT_EQ(c->get_x(), 328);
    key[KEY_RIGHT] = 0;
    step();
    EXPECT_FLOAT_EQ(c->get_x(), 329) << "one unit on to the last destination";
    step();
    step();
    EXPECT_FLOAT_EQ(c->get_x(), 329);
    EXPECT_FALSE(c->is_moving());

    // The mouse's destination lies 3 units beyond its last step.
    mouse_x = 10;
    step();
    EXPECT_FLOAT_EQ(c->get_x(), 327);
    mouse_x = 320;
    for (int i = 0; i < 4; ++i)
        step();
    EXPECT_FLOAT_EQ(c->get_x(), 324);
}

TEST_F(SceneTest, HorizontalScrollJumpsBackAcrossTheWrap)
{
    struct CASE
    {
        const char* sName;
        int iKey;
        int iMouse_x;
        float fStart;
        float fAfter_first;
    };
    const CASE cases[] = {
        {"left arrow", KEY_LEFT, 320, -318, -322},
        {"right arrow", KEY_RIGHT, 320, 958, 962},
        {"mouse at the left edge", -1, 20, -319, -321},
        {"mouse at the right edge", -1, 620, 959, 961},
    };
    for (const CASE& k : cases)
    {
        c->reset(k.fStart, 100);
        if (k.iKey >= 0)
            key[k.iKey] = 1;
        mouse_x = k.iMouse_x;
        // Tested before the step, so the camera passes the bound once ...
        step();
        EXPECT_FLOAT_EQ(c->get_x(), k.fAfter_first) << k.sName;
        // ... and then jumps home and stops there, the overshoot not carried over.
        step();
        EXPECT_FLOAT_EQ(c->get_x(), 320) << k.sName;
        EXPECT_FLOAT_EQ(c->get_y(), 100) << k.sName;
        EXPECT_FALSE(c->is_moving()) << k.sName;
        release_input();
    }

    // Vertical scrolling has no bound.
    c->reset(320, -5000);
    key[KEY_UP] = 1;
    step();
    EXPECT_FLOAT_EQ(c->get_y(), -5004);
}

TEST_F(SceneTest, DrawShowsTheWorldWithTheCalendarOverIt)
{
    BITMAP* target = make_test_bitmap(640, 480, MAGENTA);
    scene->draw(target);
    int iLight_blue = 0;
    for (int y = 455; y < 480; ++y)
        for (int x = 400; x < 640; ++x)
            iLight_blue += getpixel(target, x, y) == LIGHT_BLUE;
    EXPECT_GT(iLight_blue, 20) << "date and time, over the status bar";
    EXPECT_NE(getpixel(target, 320, 240), MAGENTA) << "the world";
    destroy_bitmap(target);
}

TEST_F(SceneTest, TheWorldSeesTheCameraOfItsOwnStep)
{
    // The camera moves before the world updates, so a node that this step's pan brings under
    // the mouse is hovered in the same step.
    NODE* n = map()->nPlayer_node;
    ASSERT_NE(n, nullptr);
    ASSERT_TRUE(n->is_revealed());
    c->reset(n->fX + 100, n->fY);
    c->pan_to(n->fX, n->fY, 1000.0f);
    step();
    EXPECT_FLOAT_EQ(c->get_x(), n->fX);
    EXPECT_TRUE(n->bHovered) << "the mouse at the screen centre, on the node the camera reached";
    step();
    EXPECT_TRUE(n->bHovered);
}
