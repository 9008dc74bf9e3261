// Methods of EDGE: its drawing, a line between its ends at each wrap position, two stubs
// where it crosses the seam, faint unless it touches the player's marker.

#include <algorithm>

#include "framework/camera.h"
#include "framework/colours.h"
#include "framework/helpers.h"
#include "world/geometry.h"
#include "world/map/edge.h"
#include "world/map/map_detail.h"
#include "world/map/node.h"

using namespace map_detail;

namespace
{
int edge_colour(int iType)
{
    switch (iType)
    {
    case EDGE_SHORT_DETOUR: return BLUE;
    case EDGE_LONG_DETOUR:
    case EDGE_GROUP_JOIN: return YELLOW;
    case EDGE_LOCKED: return RED;
    case EDGE_UNLOCKED: return GREEN;
    default: return WHITE;
    }
}
}

void EDGE::draw(BITMAP* bmp)
{
    // An edge in its reset state has nothing to join.
    if (nWest == nullptr || nEast == nullptr)
        return;
    bool bShown = nWest->is_revealed() && nEast->is_revealed() && (nWest->is_visited() || nEast->is_visited());
    if (!bShown && !key[KEY_H])
        return;
    float d = distance(nWest->fX, nWest->fY, nEast->fX, nEast->fY);
    float w = seam_distance(nWest->fX, nWest->fY, nEast->fX, nEast->fY);
    bool bAcross = d >= w;
    // The edges at the player's marker stand out; the rest are faint.
    bool bNear = nWest->has_player() || nEast->has_player();

    CAMERA* c = CAMERA::current();
    int iColour = edge_colour(iType);
    float S = c->scale_length_x(WORLD_WIDTH);
    for (float m : COPY_OFFSETS)
    {
        float sx1 = c->world_to_screen_x(nWest->fX) + c->scale_length_x((int)m);
        float sx2 = c->world_to_screen_x(nEast->fX) + c->scale_length_x((int)m);
        float sy1 = c->world_to_screen_y(nWest->fY);
        float sy2 = c->world_to_screen_y(nEast->fY);
        // A copy wholly off the bitmap would draw nothing.
        float fLeft = bAcross ? sx2 - S : std::min(sx1, sx2);
        float fRight = bAcross ? sx1 + S : std::max(sx1, sx2);
        if (!overlaps(bmp, fLeft, std::min(sy1, sy2), fRight, std::max(sy1, sy2)))
            continue;
        if (!bNear)
            begin_translucent(64);
        if (!bAcross)
            line(bmp, (int)sx1, (int)sy1, (int)sx2, (int)sy2, iColour);
        else
        {
            // Across the seam: a stub off each side of the copy.
            line(bmp, (int)sx1, (int)sy1, (int)(sx2 - S), (int)sy2, iColour);
            line(bmp, (int)(sx1 + S), (int)sy1, (int)sx2, (int)sy2, iColour);
        }
        if (!bNear)
            solid_mode();
    }
}
