#pragma once

// Allegro without a system driver, for the tests, the tools and the benchmarks: memory
// bitmaps, drawing and image files work; the screen, timers and input do not. Header-only,
// so a tool that links nothing but Allegro can use it too.

#include <allegro.h>

#include <cerrno>
#include <cstdlib>

// Installs Allegro with SYSTEM_NONE and lays 32-bit pixels out as 0xRRGGBB, as the game and
// framework/colours.h have them, so a colour constant is the pixel it draws. False when
// Allegro could not be installed; the pixel layout is set either way.
inline bool start_headless_allegro()
{
    const bool bStarted = install_allegro(SYSTEM_NONE, &errno, atexit) == 0;
    _rgb_r_shift_32 = 16;
    _rgb_g_shift_32 = 8;
    _rgb_b_shift_32 = 0;
    _rgb_a_shift_32 = 24;
    set_color_depth(32);
    return bStarted;
}
