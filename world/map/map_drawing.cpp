// Methods of MAP: its drawing, the two fog layers with the holes that sight cuts into them,
// then the edges, the nodes and the token over them.

#include <algorithm>
#include <climits>
#include <vector>

#include "framework/camera.h"
#include "framework/colours.h"
#include "world/geometry.h"
#include "world/map/edge.h"
#include "world/map/map.h"
#include "world/map/map_detail.h"
#include "world/map/node.h"
#include "world/map/traveller.h"

using namespace map_detail;

namespace
{
// Sight holes of the token, wherever it stands.
const int TOKEN_DIM_RADIUS = 25;
const int TOKEN_DARK_RADIUS = 35;

// The whole fog layer stretched with its mask into the rectangle; at its own size (zoom 1)
// the plain masked copy gives the same pixels, faster.
void stretch_fog(BITMAP* fog, BITMAP* bmp, int x, int y, int w, int h)
{
    if (w == fog->w && h == fog->h && bitmap_color_depth(fog) == bitmap_color_depth(bmp))
        masked_blit(fog, bmp, 0, 0, x, y, w, h);
    else
        masked_stretch_blit(fog, bmp, 0, 0, fog->w, fog->h, x, y, w, h);
}
}

void MAP::draw(BITMAP* bmp)
{
    if (key[KEY_M])
        return;

    // Where the three copies of the fog land.
    CAMERA* c = CAMERA::current();
    FOG_COPY a_Copies[3];
    int i = 0;
    for (float m : COPY_OFFSETS)
    {
        FOG_COPY& k = a_Copies[i++];
        k.x = (int)c->world_to_screen_x(m);
        k.y = (int)c->world_to_screen_y(0);
        k.w = (int)c->scale_length_x(WORLD_WIDTH);
        k.h = (int)c->scale_length_y(WORLD_HEIGHT);
    }
    draw_fog(bmp, a_Copies);

    for (EDGE* e : l_Edges)
        e->draw(bmp);
    for (NODE* n : l_Nodes)
    {
        n->draw(bmp);
        // Holes never fill again, so cutting the same ones again changes nothing.
        if (!n->bSight_cut)
        {
            n->draw_sight(bmpFog_dark, bmpFog_dim);
            n->bSight_cut = n->is_revealed() && n->is_visited();
            if (n->bSight_cut)
                note_dark_hole(n->fX, n->fY, n->sight_radius_dark());
        }
    }
    tTraveller->draw(bmp);

    // The same holes again would change nothing while the token stands.
    if (!bToken_holes || tTraveller->fX != fToken_hole_x || tTraveller->fY != fToken_hole_y)
    {
        cut_holes(bmpFog_dark, bmpFog_dim, tTraveller->fX, tTraveller->fY, TOKEN_DARK_RADIUS, TOKEN_DIM_RADIUS);
        note_dark_hole(tTraveller->fX, tTraveller->fY, TOKEN_DARK_RADIUS);
        bToken_holes = true;
        fToken_hole_x = tTraveller->fX;
        fToken_hole_y = tTraveller->fY;
    }
}

void MAP::note_dark_hole(float x, float y, int r)
{
    int iColumns = fog_tile_columns();
    for (float m : COPY_OFFSETS)
    {
        // The disc's box, a pixel wider for the truncated centre, within the bitmap.
        int x1 = std::max((int)(x + m) - r - 1, 0);
        int x2 = std::min((int)(x + m) + r + 1, bmpFog_dark->w - 1);
        int y1 = std::max((int)y - r - 1, 0);
        int y2 = std::min((int)y + r + 1, bmpFog_dark->h - 1);
        if (x1 > x2 || y1 > y2)
            continue;
        for (int ty = y1 / FOG_TILE; ty <= y2 / FOG_TILE; ++ty)
            for (int tx = x1 / FOG_TILE; tx <= x2 / FOG_TILE; ++tx)
                v_Dark_holes[(size_t)(ty * iColumns + tx)] = true;
    }
}

bool MAP::may_show_through(const FOG_COPY* a_Copies, int x1, int y1, int x2, int y2)
{
    int iColumns = fog_tile_columns();
    for (int i = 0; i < 3; ++i)
    {
        const FOG_COPY& k = a_Copies[i];
        // The part of the block this copy covers, then the fog pixels it was stretched
        // from, with two to spare on each side for the stretch's rounding.
        int cx1 = std::max(x1, k.x);
        int cx2 = std::min(x2, k.x + k.w - 1);
        int cy1 = std::max(y1, k.y);
        int cy2 = std::min(y2, k.y + k.h - 1);
        if (cx1 > cx2 || cy1 > cy2)
            continue;
        int u1 = std::max((int)((long long)(cx1 - k.x) * bmpFog_dark->w / k.w) - 2, 0);
        int u2 = std::min((int)((long long)(cx2 - k.x) * bmpFog_dark->w / k.w) + 2, bmpFog_dark->w - 1);
        int v1 = std::max((int)((long long)(cy1 - k.y) * bmpFog_dark->h / k.h) - 2, 0);
        int v2 = std::min((int)((long long)(cy2 - k.y) * bmpFog_dark->h / k.h) + 2, bmpFog_dark->h - 1);
        for (int ty = v1 / FOG_TILE; ty <= v2 / FOG_TILE; ++ty)
            for (int tx = u1 / FOG_TILE; tx <= u2 / FOG_TILE; ++tx)
                if (v_Dark_holes[(size_t)(ty * iColumns + tx)])
                    return true;
    }
    return false;
}

void MAP::draw_fog(BITMAP* bmp, const FOG_COPY* a_Copies)
{
    // The picture is that of the dark fog stretched over bmp copy by copy, then the dim fog
    // stretched the same way into the overlay and the overlay blended once over it all. The
    // dark fog is black but for its holes, so a block of the screen that can show no hole
    // takes the same black from a fill; a black target under the overlay, black or the
    // mask, stays black, so only the blocks that may show a hole need the dim fog and the
    // blend. Each fog is stretched once, into the box around those blocks: a stretch costs
    // little by the pixel but much by the call.
    const int BLOCK = 16;
    int iLeft, iTop, iRight, iBottom;
    get_clip_rect(bmp, &iLeft, &iTop, &iRight, &iBottom);
    struct RUN
    {
        int x1, y1, x2, y2;
    };
    std::vector<RUN> v_Holes;
    std::vector<RUN> v_Black;
    int bx1 = INT_MAX, by1 = INT_MAX, bx2 = INT_MIN, by2 = INT_MIN; // the box of v_Holes
    for (int y = std::max(iTop, 0); y <= iBottom; y += BLOCK)
    {
        const int y2 = std::min(y + BLOCK - 1, iBottom);
        // The row in runs of neighbouring blocks alike.
        int iRun_from = -1;
        bool bRun_holes = false;
        for (int x = std::max(iLeft, 0);; x += BLOCK)
        {
            const bool bEnd = x > iRight; // past the last block: the last run ends
            const bool bHoles = !bEnd && may_show_through(a_Copies, x, y, std::min(x + BLOCK - 1, iRight), y2);
            if (iRun_from >= 0 && (bEnd || bHoles != bRun_holes))
            {
                RUN run{iRun_from, y, std::min(x - 1, iRight), y2};
                if (bRun_holes)
                {
                    v_Holes.push_back(run);
                    bx1 = std::min(bx1, run.x1);
                    by1 = std::min(by1, run.y1);
                    bx2 = std::max(bx2, run.x2);
                    by2 = std::max(by2, run.y2);
                }
                else
                    v_Black.push_back(run);
                iRun_from = -1;
            }
            if (bEnd)
                break;
            if (iRun_from < 0)
            {
                iRun_from = x;
                bRun_holes = bHoles;
            }
        }
    }

    solid_mode();
    // Black where no hole can show, but for what the stretch into the box covers anyway.
    auto fill_black = [&](int x1, int y1, int x2, int y2) {
        for (int i = 0; i < 3; ++i)
        {
            const FOG_COPY& k = a_Copies[i];
            const int cx1 = std::max(x1, k.x);
            const int cx2 = std::min(x2, k.x + k.w - 1);
            const int cy1 = std::max(y1, k.y);
            const int cy2 = std::min(y2, k.y + k.h - 1);
            if (cx1 <= cx2 && cy1 <= cy2)
                rectfill(bmp, cx1, cy1, cx2, cy2, BLACK);
        }
    };
    for (const RUN& run : v_Black)
    {
        if (run.y2 < by1 || run.y1 > by2 || run.x2 < bx1 || run.x1 > bx2)
        {
            fill_black(run.x1, run.y1, run.x2, run.y2);
            continue;
        }
        if (run.x1 < bx1)
            fill_black(run.x1, run.y1, bx1 - 1, run.y2);
        if (run.x2 > bx2)
            fill_black(bx2 + 1, run.y1, run.x2, run.y2);
    }
    if (v_Holes.empty())
        return;

    set_clip_rect(bmp, bx1, by1, bx2, by2);
    for (int i = 0; i < 3; ++i)
        stretch_fog(bmpFog_dark, bmp, a_Copies[i].x, a_Copies[i].y, a_Copies[i].w, a_Copies[i].h);

    // The overlay is blended at 0, 0 and so reaches no further than its own size.
    const int ox2 = std::min(bx2, bmpOverlay->w - 1);
    const int oy2 = std::min(by2, bmpOverlay->h - 1);
    if (bx1 <= ox2 && by1 <= oy2)
    {
        set_clip_rect(bmpOverlay, bx1, by1, ox2, oy2);
        rectfill(bmpOverlay, bx1, by1, ox2, oy2, MAGENTA);
        for (int i = 0; i < 3; ++i)
            stretch_fog(bmpFog_dim, bmpOverlay, a_Copies[i].x, a_Copies[i].y, a_Copies[i].w, a_Copies[i].h);
        set_clip_rect(bmpOverlay, 0, 0, bmpOverlay->w - 1, bmpOverlay->h - 1);
        set_trans_blender(0, 0, 0, 128);
        for (const RUN& run : v_Holes)
            if (run.x1 <= ox2 && run.y1 <= oy2)
            {
                set_clip_rect(bmp, run.x1, run.y1, std::min(run.x2, ox2), std::min(run.y2, oy2));
                draw_trans_sprite(bmp, bmpOverlay, 0, 0);
            }
    }
    set_clip_rect(bmp, iLeft, iTop, iRight, iBottom);
}
