#pragma once

// Shared by the planet and climate tests: a stand-in screen for the progress lines.

#include <allegro.h>

#include "framework/colours.h"
#include "tests/headless.h"

// Points the screen at a 640 x 480 memory bitmap while it lives.
class SCREEN_STANDIN
{
public:
    SCREEN_STANDIN() : bmpOld(screen), bmp(make_test_bitmap(640, 480, BLACK)) { screen = bmp; }
    ~SCREEN_STANDIN()
    {
        screen = bmpOld;
        destroy_bitmap(bmp);
    }
    SCREEN_STANDIN(const SCREEN_STANDIN&) = delete;
    SCREEN_STANDIN& operator=(const SCREEN_STANDIN&) = delete;

    BITMAP* bmpOld;
    BITMAP* bmp;
};
