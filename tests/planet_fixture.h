#pragma once

// Shared by the planet and climate tests: a stand-in screen for the progress lines and a
// pixel-by-pixel comparison of two pictures.

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

inline bool same_pixels(BITMAP* a, BITMAP* b)
{
    if (a->w != b->w || a->h != b->h)
        return false;
    for (int y = 0; y < a->h; y++)
        for (int x = 0; x < a->w; x++)
            if (getpixel(a, x, y) != getpixel(b, x, y))
                return false;
    return true;
}
