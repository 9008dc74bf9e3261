// Methods of PLANET: the rendering stage, the forest zones, rivers, the coloured picture
// cell by cell and the landmass labels.

#include <cmath>
#include <cstdint>

#include "framework/colours.h"
#include "framework/random.h"
#include "world/planet/planet.h"
#include "world/planet/planet_detail.h"

using namespace planet_detail;

namespace
{
constexpr int RIVER_COUNT = 30;
constexpr int RIVER_SOURCE_LOW = 8300;
constexpr int RIVER_SOURCE_HIGH = 17000;

enum DIRECTION
{
    DIRECTION_NONE,
    DIRECTION_WEST,
    DIRECTION_EAST,
    DIRECTION_NORTH,
    DIRECTION_SOUTH
};

// Rock and snow: the product is rounded to float before the draw is taken off.
inline int rough(int h, float k)
{
    return (int)(h * k - random_next() % 10);
}

// A sand channel, clamped: sh * ((int)(h * k) - a draw below 20 + offset).
inline int sand_channel(float sh, int h, float k, int offset)
{
    return (int)PLANET::clamp_channel(
        [&] { return sh * ((int)(h * k) - random_next() % 20 + offset); });
}

// A rough channel, clamped, with a second draw below spread taken off the shaded value.
inline int rough_channel(float sh, int h, float k, int spread)
{
    return (int)PLANET::clamp_channel([&] {
        float p = sh * rough(h, k);
        return p - random_next() % spread;
    });
}

// Plain rough ground: blue, green and red take one draw each, in that order.
inline void rough_ground(float sh, int h, float kb, float kg, float kr, int& r, int& g, int& b)
{
    b = (int)(sh * rough(h, kb));
    g = (int)(sh * rough(h, kg));
    r = (int)(sh * rough(h, kr));
}

// A speckle of pale water; green is drawn before red.
inline void paint_speckle(BITMAP* bmp, int x, int y, int blue)
{
    int g = 50 + random_next() % 50;
    int r = 50 + random_next() % 50;
    PLANET::fill_disc(bmp, x, y, make_colour(r, g, blue));
}
}

BITMAP* PLANET::get_image()
{
    return bmpImage;
}

void PLANET::render(int width, int height)
{
    render_planet(width, height, SEA_LEVEL);
}

void PLANET::render_planet(int width, int height, int sea_level)
{
    (void)width;
    (void)height;

    make_forest_zones();
    make_rivers(RIVER_COUNT);
    paint(sea_level);
    analyze_landmasses();
}

void PLANET::make_forest_zones()
{
    for (int i = 0; i < PLANET_FOREST_ZONES; i++)
    {
        forestx[i] = random_next() % WORLD_WIDTH;
        foresty[i] = random_next() % WORLD_HEIGHT;
        forest_range[i] = (float)(5 + random_next() % 30);
    }
    forest = false;
}

void PLANET::paint(int sea_level)
{
    // The discs are written straight into the lines, which is what solid mode draws.
    solid_mode();
    clear_to_color(bmpImage, BLACK);
    for (int x = 0; x < WORLD_WIDTH; x++)
    {
        for (int y = 0; y < WORLD_HEIGHT; y++)
        {
            paint_band(x, y, sea_level);
            paint_details(x, y);
        }
    }
    solid_mode();
}

void PLANET::fill_disc(BITMAP* bmp, int x, int y, int colour)
{
    if (!is_direct(bmp))
    {
        circlefill(bmp, x, y, 2, colour);
        return;
    }
    static const int aHalf_width[5] = {1, 2, 2, 2, 1};
    for (int i = 0; i < 5; i++)
    {
        int iY = y - 2 + i;
        if (iY < bmp->ct || iY >= bmp->cb)
            continue;
        int iLeft = x - aHalf_width[i];
        int iRight = x + aHalf_width[i];
        if (iLeft < bmp->cl)
            iLeft = bmp->cl;
        if (iRight >= bmp->cr)
            iRight = bmp->cr - 1;
        std::uint32_t* pLine = pixel_line(bmp, iY);
        for (int iX = iLeft; iX <= iRight; iX++)
            pLine[iX] = (std::uint32_t)colour;
    }
}

float PLANET::shade(int x, int y)
{
    if (x > 0 && y > 0)
    {
        int h = aCells[x][y].iHeight;
        int n = aCells[x - 1][y - 1].iHeight;
        if ((h > SEA_LEVEL && n - 500 > h) || (h > 14000 && n - 100 > h))
            return 0.95f;
    }
    return 1.0f;
}

void PLANET::paint_band(int x, int y, int sea_level)
{
    CELL& cCell = aCells[x][y];
    const int h = cCell.iHeight;
    const float T = cCell.fTemperature;
    const float sh = shade(x, y);
    int r = 0;
    int g = 0;
    int b = 0;

    if (h < sea_level - 100)
    {
        // Deep water; the deeper the darker, gently below height 0.
        float v = (float)h;
        if (v < 0)
            v = v / 5;
        b = (int)clamp_channel([&] { return sh * (int)(0.0102f * v + 45); });
        g = (int)clamp_channel([&] { return sh * (int)(0.0008f * v); });
        r = 0;
    }
    else if (h < sea_level)
    {
        b = (int)(sh * (int)(h * 255 / (double)(sea_level + 1000)));
        g = (int)(random_next() % 50 + sh * 130);
        r = 50 + random_next() % 50;
    }
    else if (h < 5300)
    {
        b = (int)(sh * (int)(h * 0.018867925f));
        g = (int)(sh * (int)(h * 0.025851581f) - random_next() % 30);
        r = (int)(sh * (int)(h * 0.031512607f) - random_next() % 30);
    }
    else if (h < 10050)
    {
        forest = false;
        for (int i = 0; i < PLANET_FOREST_ZONES; i++)
        {
            // Zones are ellipses twice as wide as high and do not wrap.
            int dx = (x - forestx[i]) / 2;
            int dy = y - foresty[i];
            int iSquare = dx * dx + dy * dy;
            // Far outside needs no root: from (radius + 1)^2 the distance cannot fall short.
            double dReach = (double)forest_range[i] + 1.0;
            if (forest_range[i] <= 0.0f || iSquare >= dReach * dReach)
                continue;
            float d = (float)std::sqrt((double)iSquare);
            if (d < forest_range[i])
            {
                forest = true;
                int a = random_next() % 2;
                int c = random_next() % 2;
                forest_range[i] += a - c;
                cCell.bForest = 1;
            }
        }

        if (T >= 105 - random_next() % 7)
        {
            g = sand_channel(sh, h, 0.010183299f, 110);
            r = sand_channel(sh, h, 0.012362467f, 130);
            b = (int)(sh * ((int)(h * 0.007416747f) + 70));
            cCell.bDesert = 1;
        }
        else if (T < 32 + random_next() % 7)
        {
            int r100 = random_next() % 100;
            if (T > 10 && (r100 > 96 || (r100 > 60 && forest)))
            {
                r = 0;
                g = 30 + random_next() % 20;
                b = 0;
            }
            else
            {
                g = rough_channel(sh, h, 0.013421053f, 20);
                r = rough_channel(sh, h, 0.011920344f, 20);
                b = (int)(sh * rough(h, 0.011047091f));
            }
        }
        else
        {
            int r100 = random_next() % 100;
            if (T < 98 && (r100 > 94 || (r100 > 40 && forest)))
            {
                r = 0;
                g = 50 + random_next() % 20;
                b = 0;
            }
            else
            {
                rough_ground(sh, h, 0.005193377f, 0.01182362f, 0.009392265f, r, g, b);
            }
        }
    }
    else if (h < 14000)
    {
        // Highland reads the forest flag of the latest lowland cell.
        int r100 = random_next() % 100;
        if (T >= 105 - random_next() % 17)
        {
            g = sand_channel(sh, h, 0.0076751863f, 60);
            r = sand_channel(sh, h, 0.00935585f, 80);
            b = (int)(sh * ((int)(h * 0.005602241f) + 20));
            cCell.bDesert = 1;
        }
        else if (T < 32 + random_next() % 7)
        {
            if (T > 20 && (r100 > 94 || (r100 > 70 && forest)))
            {
                r = 0;
                g = 30 + random_next() % 20;
                b = 0;
            }
            else
            {
                rough_ground(sh, h, 0.009444444f, 0.01098475f, 0.01275f, r, g, b);
            }
        }
        else
        {
            if ((r100 > 94 && h < 12050) || r100 > 98 || (r100 > 80 && forest))
            {
                r = 0;
                g = 54;
                b = 0;
            }
            else
            {
                rough_ground(sh, h, 0.006375f, 0.01098475f, 0.01275f, r, g, b);
            }
        }
    }
    else
    {
        bool bCold = T < 45 - random_next() % 8;
        const float kg = bCold ? 0.0090380665f : 0.0080826655f;
        const float kr = 0.0102f;
        const float kb = bCold ? 0.008225806f : 0.006326915f;
        g = rough_channel(sh, h, kg, 10);
        r = rough_channel(sh, h, kr, 10);
        float p = sh * rough(h, kb);
        b = (int)(p - random_next() % 10);
    }

    fill_disc(bmpImage, x, y, make_colour(r, g, b));
}

void PLANET::paint_details(int x, int y)
{
    const CELL& cCell = aCells[x][y];
    const int h = cCell.iHeight;

    // Speckles of lighter and darker water along the coasts.
    if (random_next() % 100 > 80 && h > 4700 - random_next() % 200 && h < 4600 + random_next() % 400)
        paint_speckle(bmpImage, x, y, 250);
    if (random_next() % 100 > 95 && h > 4200 - random_next() % 200 && h < 4400 + random_next() % 200)
        paint_speckle(bmpImage, x, y, 150);
    if (random_next() % 1000 > 990 && h < SEA_LEVEL)
        paint_speckle(bmpImage, x, y, 105);

    if (cCell.bRiver)
    {
        const float sh = shade(x, y);
        const float fLift = h * 0.009090909f + 20;
        int b = (int)clamp_channel([&] { return sh * (int)(random_next() % 45 + fLift); });
        int g = (int)clamp_channel([&] { return sh * (int)(h * 0.006818182f); });
        int r = (int)clamp_channel([&] { return sh * (int)(h * 0.0017241379f); });
        fill_disc(bmpImage, x, y, make_colour(r, g, b));
    }

    // Land and a two-pixel fringe of sea around it.
    if (h > SEA_LEVEL)
        fill_disc(bmpLabels, x, y, 1);
}

void PLANET::make_rivers(int count)
{
    // The source search draws until it meets a cell high enough; without one it would never
    // end, so a planet without such a cell gets no rivers.
    bool bHas_source = false;
    for (int x = 0; x < WORLD_WIDTH && !bHas_source; x++)
        for (int y = 0; y < WORLD_HEIGHT && !bHas_source; y++)
            bHas_source = aCells[x][y].iHeight >= RIVER_SOURCE_LOW &&
                          aCells[x][y].iHeight <= RIVER_SOURCE_HIGH;
    if (!bHas_source)
        return;

    for (int i = 0; i < count; i++)
    {
        int x;
        int y;
        do
        {
            x = random_next() % WORLD_WIDTH;
            y = random_next() % WORLD_HEIGHT;
        } while (aCells[x][y].iHeight < RIVER_SOURCE_LOW || aCells[x][y].iHeight > RIVER_SOURCE_HIGH);
        trace_river(x, y);
    }
}

void PLANET::trace_river(int x, int y)
{
    if (x < 0)
        x = WORLD_WIDTH - 1;
    else if (x >= WORLD_WIDTH)
        x = 0;
    if (y < 0 || y >= WORLD_HEIGHT)
        return;

    for (;;)
    {
        aCells[x][y].bRiver = 1;

        if (random_next() % 10000 < 10)
        {
            int dy = random_next() % 20;
            int dx = random_next() % 20;
            trace_river(x + dx, y + dy);
        }

        // Downhill, or now and then uphill; the last neighbour taken wins.
        int iBest = aCells[x][y].iHeight;
        DIRECTION eDirection = DIRECTION_NONE;
        auto consider = [&](int iX, int iY, DIRECTION eWay) {
            int iHeight = aCells[iX][iY].iHeight;
            if (iHeight <= iBest || random_next() % 100 > 90)
            {
                iBest = iHeight;
                eDirection = eWay;
            }
        };
        if (x >= 1)
            consider(x - 1, y, DIRECTION_WEST);
        if (x <= WORLD_WIDTH - 2)
            consider(x + 1, y, DIRECTION_EAST);
        if (y >= 1)
            consider(x, y - 1, DIRECTION_NORTH);
        if (y <= WORLD_HEIGHT - 2)
            consider(x, y + 1, DIRECTION_SOUTH);

        if (eDirection == DIRECTION_WEST || eDirection == DIRECTION_EAST)
        {
            x += eDirection == DIRECTION_WEST ? -1 : 1;
            if (random_next() % 100 > 45)
                y += random_next() % 100 > 50 ? -1 : 1;
        }
        else
        {
            if (eDirection == DIRECTION_NORTH)
                y--;
            else if (eDirection == DIRECTION_SOUTH)
                y++;
            if (random_next() % 100 > 45)
                x += random_next() % 100 > 50 ? -1 : 1;
        }

        if (x < 0)
            x = WORLD_WIDTH - 1;
        else if (x >= WORLD_WIDTH)
            x = 0;

        if (y < 0 || y >= WORLD_HEIGHT)
            return;
        if (aCells[x][y].iHeight < SEA_LEVEL)
            return;
        if (random_next() % 1000 < 4)
            return;
    }
}

void PLANET::analyze_landmasses()
{
    show_progress(50, "Analyzing");

    // The first fill of a region repaints it with 1, which changes nothing; the scan meets
    // it again at once and gives it the next label, so labels start at 2.
    for (int x = 0; x < WORLD_WIDTH; x++)
    {
        for (int y = 0; y < WORLD_HEIGHT; y++)
        {
            if (read_pixel(bmpLabels, x, y) == 1)
            {
                iLabel_count++;
                floodfill(bmpLabels, x, y, iLabel_count);
            }
        }
    }

    // Land on both sides of the seam is one landmass.
    for (int y = 0; y < WORLD_HEIGHT; y++)
    {
        if (aCells[0][y].iHeight > SEA_LEVEL && aCells[WORLD_WIDTH - 1][y].iHeight > SEA_LEVEL)
            floodfill(bmpLabels, WORLD_WIDTH - 1, y, read_pixel(bmpLabels, 0, y));
    }

    for (int x = 0; x < WORLD_WIDTH; x++)
        for (int y = 0; y < WORLD_HEIGHT; y++)
            aCells[x][y].iLandmass = read_pixel(bmpLabels, x, y);
}
