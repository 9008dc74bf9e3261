// Methods of NODE: its drawing, the marker, icons and label at each wrap position, the holes
// its sight cuts into the fog, and its status lines.

#include <algorithm>
#include <cstdlib>
#include <string>

#include "framework/camera.h"
#include "framework/colours.h"
#include "framework/sprite.h"
#include "world/geometry.h"
#include "world/map/edge.h"
#include "world/map/map_detail.h"
#include "world/map/node.h"
#include "world/planet/cell.h"

using namespace map_detail;

namespace
{
// A status text over its black shadow, built-in font, transparent background.
void shadowed_text(BITMAP* bmp, float sx, float sy, float x, float y, int colour, const char* sText)
{
    textprintf_ex(bmp, font, (int)sx, (int)sy, BLACK, -1, "%s", sText);
    textprintf_ex(bmp, font, (int)x, (int)y, colour, -1, "%s", sText);
}

void rings(BITMAP* bmp, int x, int y, float R0, float R1, float R2, int colour, bool bThird)
{
    circle(bmp, x, y, (int)R0, colour);
    circle(bmp, x, y, (int)R1, colour);
    if (bThird)
        circle(bmp, x, y, (int)R2, colour);
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
        if (n != nullptr && (bPlayer || n->bPlayer))
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
        if (landmass != nullptr)
            shadowed_text(bmp, x + 1, y + 11, x, y + 10, WHITE, landmass->c_str());
        if (sRegion != nullptr)
            shadowed_text(bmp, x + 1, y + 21, x, y + 20, WHITE, ("Region: " + *sRegion).c_str());
        std::string strPopulation = "Population: " + std::to_string(iPopulation);
        shadowed_text(bmp, x + 201, y + 11, x + 200, y + 10, WHITE, strPopulation.c_str());
        shadowed_text(bmp, x + 201, y + 21, x + 200, y + 20, WHITE, strRank.c_str());
    }
    else
        shadowed_text(bmp, x + 1, y + 11, x, y + 10, WHITE, strRank.c_str());
}
