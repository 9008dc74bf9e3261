#pragma once

// Small drawing steps shared by the map's drawing: map_drawing.cpp (the map and its fog),
// edge_drawing.cpp and node_drawing.cpp; not for use outside them.

#include <allegro.h>

#include "framework/colours.h"
#include "world/geometry.h"

namespace map_detail
{
// What follows blends at this alpha until solid_mode().
inline void begin_translucent(int alpha)
{
    set_trans_blender(0, 0, 0, alpha);
    drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
}

// Whether the box (with a pixel to spare for truncation) reaches into the bitmap's clip
// rectangle; Allegro draws nothing outside it.
inline bool overlaps(BITMAP* bmp, float x1, float y1, float x2, float y2)
{
    return x2 + 2 >= bmp->cl && x1 - 2 < bmp->cr && y2 + 2 >= bmp->ct && y1 - 2 < bmp->cb;
}

// Sight holes around (x, y) at its three wrap positions, the dim one first at each.
inline void cut_holes(BITMAP* fog_dark, BITMAP* fog_dim, float x, float y, int r_dark, int r_dim)
{
    for (float m : COPY_OFFSETS)
    {
        circlefill(fog_dim, (int)(x + m), (int)y, r_dim, MAGENTA);
        circlefill(fog_dark, (int)(x + m), (int)y, r_dark, MAGENTA);
    }
}
}
