// Drawing of the travel map: the two fog layers with the holes that sight cuts into them,
// the edges, the nodes with their markers, icons and labels, and a node's status lines.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "framework/camera.h"
#include "framework/colours.h"
#include "framework/helpers.h"
#include "framework/sprite.h"
#include "world/map/edge.h"
#include "world/map/map.h"
#include "world/map/node.h"
#include "world/map/traveller.h"
#include "world/planet/cell.h"

namespace
{
const int SEA_LEVEL = 5000;

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

    // Every copy of the dim fog goes into the overlay first, so that it is blended once.
    rectfill(bmpOverlay, 0, 0, bmpOverlay->w, bmpOverlay->h, MAGENTA);
    CAMERA* c = CAMERA::current();
    for (float m : COPY_OFFSETS)
    {
        int x = (int)c->world_to_screen_x(m);
        int y = (int)c->world_to_screen_y(0);
        int w = (int)c->scale_length_x((int)WRAP_WIDTH);
        int h = (int)c->scale_length_y(480);
        masked_stretch_blit(bmpFog_dark, bmp, 0, 0, bmpFog_dark->w, bmpFog_dark->h, x, y, w, h);
        masked_stretch_blit(bmpFog_dim, bmpOverlay, 0, 0, bmpFog_dim->w, bmpFog_dim->h, x, y, w, h);
    }
    set_trans_blender(0, 0, 0, 128);
    draw_trans_sprite(bmp, bmpOverlay, 0, 0);
    solid_mode();

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
        }
    }
    tTraveller->draw(bmp);

    int iToken_x = (int)tTraveller->fX;
    int iToken_y = (int)tTraveller->fY;
    if (iToken_x != iToken_hole_x || iToken_y != iToken_hole_y)
    {
        cut_holes(bmpFog_dark, bmpFog_dim, tTraveller->fX, tTraveller->fY, TOKEN_DARK_RADIUS, TOKEN_DIM_RADIUS);
        iToken_hole_x = iToken_x;
        iToken_hole_y = iToken_y;
    }
}

void EDGE::draw(BITMAP* bmp)
{
    // An edge in its reset state has nothing to join.
    if (nWest == NULL || nEast == NULL)
        return;
    float d = distance(nWest->fX, nWest->fY, nEast->fX, nEast->fY);
    float w = vector_length(WRAP_WIDTH - (nEast->fX - nWest->fX), nEast->fY - nWest->fY);

    bool bShown = nWest->is_revealed() && nEast->is_revealed() && (nWest->is_visited() || nEast->is_visited());
    if (!bShown && !key[KEY_H])
        return;
    // The edges at the player's marker stand out; the rest are faint.
    bool bNear = nWest->has_player() || nEast->has_player();

    CAMERA* c = CAMERA::current();
    int iColour = edge_colour(iType);
    for (float m : COPY_OFFSETS)
    {
        float sx1 = c->world_to_screen_x(nWest->fX) + c->scale_length_x((int)m);
        float sx2 = c->world_to_screen_x(nEast->fX) + c->scale_length_x((int)m);
        float sy1 = c->world_to_screen_y(nWest->fY);
        float sy2 = c->world_to_screen_y(nEast->fY);
        if (!bNear)
            begin_translucent(64);
        if (d < w)
            line(bmp, (int)sx1, (int)sy1, (int)sx2, (int)sy2, iColour);
        else
        {
            // Across the seam: a stub off each side of the copy.
            float S = c->scale_length_x((int)WRAP_WIDTH);
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
    for (float m : COPY_OFFSETS)
    {
        float sx = c->world_to_screen_x(fX + m);
        draw_marker(bmp, sx, sy, c->scale_length_x(4));
        sprIcon->draw_scaled(bmp, fX + m - 3, fY - 3, 6, 6);
        sprBadge->draw_scaled(bmp, fX + m - 3, fY - 8, 6, 6);
        if (!bHovered && !bPlayer)
            continue;

        int L = (int)(sName->length() * 9) / 2;
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
    if (bHovered)
        rings(bmp, x, y, R0, R1, R2, RED, true);
    else if (bStart)
    {
        sprBadge->set_column(1);
        circlefill(bmp, x, y, (int)R0, YELLOW);
        rings(bmp, x, y, R0, R1, R2, RED, true);
    }
    else if (bEnd)
    {
        sprBadge->set_column(2);
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

void NODE::draw_sight(BITMAP* fog_dark, BITMAP* fog_dim)
{
    if (!bRevealed || !bVisited)
        return;
    // Higher ground sees farther, and so does deep sea.
    int h = pCell->iHeight;
    int a = h < SEA_LEVEL ? std::abs(2 * h) : std::abs(h);
    int r_dim = std::max(std::min((a / 500) * 2, 100), 25);
    int r_dark = std::max(std::min((a / 500) * 3, 120), 35);
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
