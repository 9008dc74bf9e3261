#pragma once

// Small helpers shared by the planet's code: planet.cpp (terrain), planet_render.cpp (picture)
// and climate.cpp; not for use outside them.

#include <allegro.h>

#include <cstdint>

#include "framework/colours.h"
#include "framework/helpers.h"

namespace planet_detail
{
// The planet's progress lines stand at the left margin in white.
inline void show_progress(int y, const char* text)
{
    ::show_progress(10, y, WHITE, text);
}

// At the usual 32-bit depth pixels are read and written straight through the lines.
using ::is_direct;
using ::pixel_line;

inline int read_pixel(BITMAP* bmp, int x, int y)
{
    return is_direct(bmp) ? (int)pixel_line(bmp, y)[x] : getpixel(bmp, x, y);
}
}
