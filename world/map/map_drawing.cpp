// Drawing of the travel map: the two fog layers with the holes that sight cuts into them,
// the edges, the nodes with their markers, icons and labels, and a node's status lines.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/camera.h"
#include "framework/colours.h"
#include "framework/helpers.h"
#include "framework/sprite.h"
#include "world/geometry.h"
#include "world/map/edge.h"
#include "world/map/map.h"
#include "world/map/node.h"
#include "world/map/traveller.h"
#include "world/planet/cell.h"

namespace
{
// Sight holes of the token, wherever it stands.
const int TOKEN_DIM_RADIUS = 25;
const int TOKEN_DARK_RADIUS = 35;

void begin_translucent(int alpha)
{
    set_trans_blender(0, 0, 0, alpha);
    drawing_mode(DRAW_MODE_TRANS, NULL, 0, 0);
}

// A status text over its black shadow, built-in font, transparent background.
void shadowed_text(BITMAP* bmp, float sx, float sy, float x, float y, int colour, const char* sText)
{
    textprintf_ex(bmp, font, (int)sx, (int)sy, BLACK, -1, "%s", sText);
    textprintf_ex(bmp, font, (int)x, (int)y, colour, -1, "%s", sText);
}

// Sight holes around (x, y) at its three wrap positions, the dim one first at each.
void cut_holes(BITMAP* fog_dark, BITMAP* fog_dim, float x, float y, int r_dark, int r_dim)
{
    for (float m : COPY_OFFSETS)
    {
        circlefill(fog_dim, (int)(x + m), (int)y, r_dim, MAGENTA);
        circlefill(fog_dark, (int)(x + m), (int)y, r_dark, MAGENTA);
    }
}

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

// Whether the box (with a pixel to spare for truncation) reaches into the bitmap's clip
// rectangle; Allegro draws nothing outside it.
bool overlaps(BITMAP* bmp, float x1, float y1, float x2, float y2)
{
    return x2 + 2 >= bmp->cl && x1 - 2 < bmp->cr && y2 + 2 >= bmp->ct && y1 - 2 < bmp->cb;
}

// The whole fog layer stretched with its mask into the rectangle; at its own size (zoom 1)
// the plain masked copy gives the same pixels, faster.
void stretch_fog(BITMAP* fog, BITMAP* bmp, int x, int y, int w, int h)
{
    if (w == fog->w && h == fog->h && bitmap_color_depth(fog) == bitmap_color_depth(bmp))
        masked_blit(fog, bmp, 0, 0, x, y, w, h);
    else
        masked_stretch_blit(fog, bmp, 0, 0, fog->w, fog->h, x, y, w, h);
}

void rings(BITMAP* bmp, int x, int y, float R0, float R1, float R2, int colour, bool bThird)
{
    circle(bmp, x, y, (int)R0, colour);
    circle(bmp, x, y, (int)R1, colour);
    if (bThird)
        circle(bmp, x, y, (int)R2, colour);
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

void EDGE::draw(BITMAP* bmp)
{
    // An edge in its reset state has nothing to join.
    if (nWest == NULL || nEast == NULL)
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

void NODE::draw(BITMAP* bmp)
{
    if (!bRevealed && !key[KEY_H])
        return;
    CAMERA* c = CAMERA::current();
    float sy = c->world_to_screen_y(fY);
    float ly = sy + 20;
    bool bLabel = bHovered || bPlayer;
    int L = (int)(sName->length() * 9) / 2;
    // Reach of a copy's drawing from its centre: rings of at most 22, the icons 8 units up
    // and 3 across, the label box (its text is at most a pixel wider) down to ly + 15.
    float fReach_x = std::max(23.0f, c->scale_length_x(3) + 1) + (bLabel ? L + 2 : 0);
    float fTop = sy - std::max(23.0f, c->scale_length_y(8) + 1);
    float fBottom = bLabel ? ly + 16 : sy + std::max(23.0f, c->scale_length_y(3) + 1);
    for (float m : COPY_OFFSETS)
    {
        float sx = c->world_to_screen_x(fX + m);
        if (!overlaps(bmp, sx - fReach_x, fTop, sx + fReach_x, fBottom))
        {
            // Off the bitmap, but the badge still shows the node's kind when it comes into view.
            choose_badge();
            continue;
        }
        draw_marker(bmp, sx, sy, c->scale_length_x(4));
        sprIcon->draw_scaled(bmp, fX + m - 3, fY - 3, 6, 6);
        sprBadge->draw_scaled(bmp, fX + m - 3, fY - 8, 6, 6);
        if (!bLabel)
            continue;

        int x1 = (int)(sx - L);
        int y1 = (int)(ly - 5);
        int x2 = (int)(sx + L);
        int y2 = (int)(ly + 15);
        begin_translucent(128);
        rectfill(bmp, x1, y1, x2, y2, DARK_BLUE);
        solid_mode();
        textprintf_centre_ex(bmp, font, (int)(sx - 1), (int)(ly - 1), BLACK, -1, "%s", get_name());
        textprintf_centre_ex(bmp, font, (int)(sx + 1), (int)(ly + 1), BLACK, -1, "%s", get_name());
        textprintf_centre_ex(bmp, font, (int)sx, (int)ly, YELLOW, -1, "%s", get_name());
        rect(bmp, x1, y1, x2, y2, WHITE);
    }
}

void NODE::choose_badge()
{
    // A hovered frame leaves the column as it was.
    if (bHovered)
        return;
    if (bStart)
        sprBadge->set_column(1);
    else if (bEnd)
        sprBadge->set_column(2);
}

void NODE::draw_marker(BITMAP* bmp, float sx, float sy, float r)
{
    // Solid only next to the player: this node holds the marker and has an open edge, or
    // the far end of one of its open edges holds it.
    bool bNext_to_player = false;
    for (EDGE* e : l_Edges)
    {
        if (!e->is_open())
            continue;
        NODE* n = e->other_end(this);
        if (n != NULL && (bPlayer || n->bPlayer))
        {
            bNext_to_player = true;
            break;
        }
    }
    if (!bNext_to_player)
        begin_translucent(96);

    float R0 = std::max(0.0f, std::min(20.0f, r));
    float R1 = std::max(0.0f, std::min(21.0f, r + 1));
    float R2 = std::max(0.0f, std::min(22.0f, r + 2));
    int x = (int)sx;
    int y = (int)sy;
    choose_badge();
    if (bHovered)
        rings(bmp, x, y, R0, R1, R2, RED, true);
    else if (bStart)
    {
        circlefill(bmp, x, y, (int)R0, YELLOW);
        rings(bmp, x, y, R0, R1, R2, RED, true);
    }
    else if (bEnd)
    {
        circlefill(bmp, x, y, (int)R0, BLACK);
        rings(bmp, x, y, R0, R1, R2, PURPLE, true);
    }
    else
    {
        if (bSettlement)
            circlefill(bmp, x, y, (int)R0, DARK_BLUE);
        else if (bDungeon)
            circlefill(bmp, x, y, (int)R0, DARK_RED);
        if (bVisited)
            rings(bmp, x, y, R0, R1, R2, GREEN, false);
    }
    if (bPlayer)
        rings(bmp, x, y, R0, R1, R2, BLUE, true);

    if (!bNext_to_player)
        solid_mode();
}

void NODE::sight_radii(int* r_dim, int* r_dark) const
{
    // Higher ground sees farther, and so does deep sea.
    int h = pCell->iHeight;
    int a = h < SEA_LEVEL ? std::abs(2 * h) : std::abs(h);
    *r_dim = std::max(std::min((a / 500) * 2, 100), 25);
    *r_dark = std::max(std::min((a / 500) * 3, 120), 35);
}

int NODE::sight_radius_dark() const
{
    int r_dim, r_dark;
    sight_radii(&r_dim, &r_dark);
    return r_dark;
}

void NODE::draw_sight(BITMAP* fog_dark, BITMAP* fog_dim)
{
    if (!bRevealed || !bVisited)
        return;
    int r_dim, r_dark;
    sight_radii(&r_dim, &r_dark);
    cut_holes(fog_dark, fog_dim, fX, fY, r_dark, r_dim);
}

void NODE::draw_info(BITMAP* bmp, float x, float y, std::string* landmass)
{
    int r = bSettlement ? 0 : iRank;
    std::string strRank = "Rank:  " + std::to_string(r);
    shadowed_text(bmp, x, y + 1, x, y, YELLOW, get_name());
    if (get_height() >= SEA_LEVEL)
    {
        if (landmass != NULL)
            shadowed_text(bmp, x + 1, y + 11, x, y + 10, WHITE, landmass->c_str());
        if (sRegion != NULL)
            shadowed_text(bmp, x + 1, y + 21, x, y + 20, WHITE, ("Region: " + *sRegion).c_str());
        std::string strPopulation = "Population: " + std::to_string(iPopulation);
        shadowed_text(bmp, x + 201, y + 11, x + 200, y + 10, WHITE, strPopulation.c_str());
        shadowed_text(bmp, x + 201, y + 21, x + 200, y + 20, WHITE, strRank.c_str());
    }
    else
        shadowed_text(bmp, x + 1, y + 11, x, y + 10, WHITE, strRank.c_str());
}
