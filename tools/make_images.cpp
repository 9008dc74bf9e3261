// Draws the game's three pictures: make_images OUTPUT_DIR
//   Nodes.pcx                 64x64 node icons, icon n at column n % 10 and row n / 10
//   significant_locations.bmp 32x32 badges: none, start node, end-of-game node
//   smiley.bmp                16x16 traveller
// Magenta is transparent. The icons are shown as small as 18 pixels, so every one is a bold
// silhouette in strong colours with a dark rim.
#include <allegro.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

#include "framework/colours.h"
#include "framework/headless.h"

namespace
{
constexpr int TILE = 64;
constexpr int ICON_COUNT = 48;
constexpr int RIM = make_colour(24, 20, 28);

// Palette.
constexpr int STONE = make_colour(160, 160, 170);
constexpr int STONE_DARK = make_colour(105, 105, 118);
constexpr int WOOD = make_colour(140, 85, 40);
constexpr int WOOD_DARK = make_colour(95, 55, 25);
constexpr int THATCH = make_colour(200, 150, 60);
constexpr int ROOF_RED = make_colour(190, 55, 35);
constexpr int WALL = make_colour(235, 215, 170);
constexpr int WINDOW = make_colour(255, 215, 60);
constexpr int LEAF = make_colour(50, 170, 50);
constexpr int LEAF_DARK = make_colour(25, 110, 45);
constexpr int SEA_DEEP = make_colour(25, 55, 160);
constexpr int SEA = make_colour(45, 110, 220);
constexpr int SEA_LIGHT = make_colour(90, 200, 240);
constexpr int FOAM = make_colour(235, 250, 255);
constexpr int ICE = make_colour(200, 240, 255);
constexpr int SAND = make_colour(240, 205, 120);
constexpr int DUNE = make_colour(230, 150, 60);
constexpr int GOLD = make_colour(250, 200, 40);
constexpr int BONE = make_colour(245, 240, 220);
constexpr int HOLE = make_colour(10, 8, 12);
constexpr int FIRE = make_colour(235, 60, 20);
constexpr int FLAME = make_colour(255, 160, 30);
constexpr int EMBER = make_colour(255, 235, 90);
constexpr int GRASS = make_colour(100, 180, 60);
constexpr int EVIL = make_colour(70, 30, 90);

BITMAP* T = nullptr; // the tile being drawn

void poly(std::initializer_list<int> l_Points, int iColour)
{
    std::vector<int> v(l_Points);
    polygon(T, (int)v.size() / 2, v.data(), iColour);
}

// A line of the given width with round ends.
void thick(int x1, int y1, int x2, int y2, int iWidth, int iColour)
{
    const int n = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
    for (int i = 0; i <= n; ++i)
    {
        const int x = n ? x1 + (x2 - x1) * i / n : x1;
        const int y = n ? y1 + (y2 - y1) * i / n : y1;
        circlefill(T, x, y, iWidth / 2, iColour);
    }
}

// A sine wave across the tile, centred on y.
void wave(int y, int iAmp, int iWidth, int iColour, int x0 = 8, int x1 = 56)
{
    for (int x = x0; x <= x1; ++x)
    {
        const int wy = y + (int)std::lround(iAmp * std::sin((x - x0) * 2.0 * M_PI / 24.0));
        circlefill(T, x, wy, iWidth / 2, iColour);
    }
}

// Dark rim around everything drawn, so icons stand out on any ground.
void add_rim(BITMAP* bmp, int iRadius)
{
    BITMAP* bmpCopy = create_bitmap_ex(32, bmp->w, bmp->h);
    blit(bmp, bmpCopy, 0, 0, 0, 0, bmp->w, bmp->h);
    for (int y = 0; y < bmp->h; ++y)
        for (int x = 0; x < bmp->w; ++x)
        {
            if (getpixel(bmpCopy, x, y) != MAGENTA)
                continue;
            bool bNear = false;
            for (int dy = -iRadius; dy <= iRadius && !bNear; ++dy)
                for (int dx = -iRadius; dx <= iRadius && !bNear; ++dx)
                {
                    if (dx * dx + dy * dy > iRadius * iRadius + 1)
                        continue;
                    const int nx = x + dx, ny = y + dy;
                    if (nx >= 0 && ny >= 0 && nx < bmp->w && ny < bmp->h && getpixel(bmpCopy, nx, ny) != MAGENTA)
                        bNear = true;
                }
            if (bNear)
                putpixel(bmp, x, y, RIM);
        }
    destroy_bitmap(bmpCopy);
}

void hut(int x, int y, int w, int iRoof)
{
    // x, y: bottom-left corner of the walls; w: wall width.
    rectfill(T, x, y - w * 2 / 3, x + w, y, WALL);
    poly({x - 5, y - w * 2 / 3 + 1, x + w / 2, y - w * 2 / 3 - w / 2 - 4, x + w + 5, y - w * 2 / 3 + 1}, iRoof);
    rectfill(T, x + w / 2 - 4, y - w / 3, x + w / 2 + 4, y, WOOD_DARK);
}

void battlement_tower(int x0, int y0, int x1, int y1, int iColour)
{
    rectfill(T, x0, y0, x1, y1, iColour);
    const int w = x1 - x0;
    for (int i = 0; i < 3; ++i)
    {
        const int cx = x0 + i * w / 2 - (i == 2 ? w / 5 : 0);
        rectfill(T, cx, y0 - 6, cx + w / 5, y0, iColour);
    }
}

void skull(int cx, int cy, int r)
{
    circlefill(T, cx, cy, r, BONE);
    rectfill(T, cx - r * 6 / 10, cy + r / 2, cx + r * 6 / 10, cy + r * 13 / 10, BONE);
    // Big sockets, so both eyes survive scaling down to a few pixels.
    circlefill(T, cx - r * 45 / 100, cy, r * 35 / 100, HOLE);
    circlefill(T, cx + r * 45 / 100, cy, r * 35 / 100, HOLE);
    poly({cx, cy + r * 3 / 10, cx - r / 6, cy + r * 6 / 10, cx + r / 6, cy + r * 6 / 10}, HOLE);
    for (int i = -1; i <= 1; ++i)
        thick(cx + i * r / 4, cy + r * 9 / 10, cx + i * r / 4, cy + r * 13 / 10, 2, HOLE);
}

void mound(int iColour)
{
    ellipsefill(T, 32, 52, 28, 30, iColour);
    rectfill(T, 0, 56, 63, 63, MAGENTA);
}

void draw_icon(int n)
{
    clear_to_color(T, MAGENTA);
    switch (n)
    {
    case 0: // fallback: a plain marker stone
        poly({32, 10, 52, 32, 32, 54, 12, 32}, STONE);
        poly({32, 20, 42, 32, 32, 44, 22, 32}, STONE_DARK);
        break;
    case 1: // hamlet: one hut
        hut(18, 54, 28, THATCH);
        break;
    case 2: // village: two huts
        hut(6, 54, 22, THATCH);
        hut(34, 54, 24, ROOF_RED);
        break;
    case 3: // town: houses round a church spire
        rectfill(T, 26, 18, 38, 54, WALL);
        poly({22, 20, 32, 2, 42, 20}, ROOF_RED);
        rectfill(T, 29, 26, 35, 34, WINDOW);
        hut(6, 56, 18, ROOF_RED);
        hut(42, 56, 16, ROOF_RED);
        break;
    case 4: // city: walls, gate and towers with blue roofs
        rectfill(T, 8, 30, 56, 56, STONE);
        for (int x = 8; x <= 50; x += 12)
            rectfill(T, x, 24, x + 6, 30, STONE);
        rectfill(T, 4, 18, 18, 56, STONE_DARK);
        rectfill(T, 46, 18, 60, 56, STONE_DARK);
        poly({2, 19, 11, 4, 20, 19}, SEA);
        poly({44, 19, 53, 4, 62, 19}, SEA);
        ellipsefill(T, 32, 44, 7, 8, HOLE);
        rectfill(T, 25, 44, 39, 56, HOLE);
        break;
    case 5: // deep sea: heavy dark waves
        for (int y : {20, 44})
        {
            wave(y, 5, 10, SEA_DEEP);
            wave(y - 3, 5, 3, SEA);
        }
        break;
    case 6: // whirlpool: a spiral
        for (double a = 0; a < 5.0 * M_PI; a += 0.03)
        {
            const double r = 3 + a * 1.6;
            circlefill(T, 32 + (int)(r * std::cos(a)), 32 + (int)(r * std::sin(a)), 3, a > 2 * M_PI ? SEA : FOAM);
        }
        break;
    case 7: // shallow water: bright waves
        wave(24, 5, 7, SEA_LIGHT);
        wave(40, 5, 7, SEA);
        break;
    case 8: // reef: coral above the waves
        thick(32, 48, 32, 12, 7, FIRE);
        thick(32, 32, 16, 18, 6, FIRE);
        thick(32, 28, 48, 14, 6, FIRE);
        thick(20, 22, 14, 10, 5, FLAME);
        thick(44, 18, 50, 8, 5, FLAME);
        wave(50, 3, 7, SEA);
        break;
    case 9: // iceberg
        poly({8, 46, 20, 18, 28, 26, 40, 6, 56, 46}, ICE);
        poly({40, 6, 56, 46, 42, 46}, make_colour(150, 200, 235));
        wave(50, 3, 7, SEA);
        break;
    case 10: // wreck: a listing hull with a broken mast and a torn sail, sinking into the waves
        poly({4, 26, 60, 38, 52, 54, 12, 48}, WOOD);
        thick(8, 30, 56, 40, 4, WOOD_DARK);
        thick(30, 36, 24, 4, 6, WOOD_DARK);
        poly({27, 8, 52, 14, 44, 22, 50, 28, 29, 26}, WHITE);
        wave(52, 3, 9, SEA, 2, 62);
        wave(49, 3, 3, SEA_LIGHT, 2, 62);
        break;
    case 11: // beach: sun over sand and a wave
        circlefill(T, 44, 16, 10, GOLD);
        ellipsefill(T, 32, 58, 30, 16, SAND);
        wave(36, 3, 6, SEA, 6, 58);
        rectfill(T, 0, 58, 63, 63, MAGENTA);
        break;
    case 12: // lighthouse: striped tower and its light
        poly({22, 58, 42, 58, 38, 20, 26, 20}, WHITE);
        rectfill(T, 23, 44, 41, 50, ROOF_RED);
        rectfill(T, 25, 30, 39, 36, ROOF_RED);
        rectfill(T, 25, 12, 39, 20, WINDOW);
        poly({22, 12, 32, 2, 42, 12}, ROOF_RED);
        poly({40, 14, 62, 8, 62, 20}, make_colour(255, 245, 150));
        break;
    case 13: // anchor
        circle(T, 32, 10, 5, STONE_DARK);
        circle(T, 32, 10, 6, STONE_DARK);
        circle(T, 32, 10, 4, STONE_DARK);
        thick(32, 16, 32, 52, 7, STONE_DARK);
        thick(18, 22, 46, 22, 6, STONE_DARK);
        for (double a = 0.15 * M_PI; a < 0.85 * M_PI; a += 0.02)
            circlefill(T, 32 + (int)(22 * std::cos(a)), 30 + (int)(22 * std::sin(a)), 3, STONE_DARK);
        poly({6, 36, 16, 34, 12, 44}, STONE_DARK);
        poly({58, 36, 48, 34, 52, 44}, STONE_DARK);
        break;
    case 14: // broadleaf tree
        rectfill(T, 28, 36, 36, 58, WOOD);
        circlefill(T, 32, 20, 15, LEAF);
        circlefill(T, 19, 32, 12, LEAF);
        circlefill(T, 45, 32, 12, LEAF);
        break;
    case 15: // pine tree with snow
        rectfill(T, 28, 48, 36, 60, WOOD);
        poly({10, 50, 32, 24, 54, 50}, LEAF_DARK);
        poly({14, 36, 32, 12, 50, 36}, LEAF_DARK);
        poly({20, 22, 32, 2, 44, 22}, LEAF_DARK);
        poly({27, 10, 32, 2, 37, 10}, WHITE);
        break;
    case 16: // windmill
        poly({22, 58, 42, 58, 38, 24, 26, 24}, WALL);
        rectfill(T, 28, 46, 36, 58, WOOD_DARK);
        thick(10, 8, 54, 50, 6, WOOD);
        thick(54, 8, 10, 50, 6, WOOD);
        poly({10, 8, 22, 6, 26, 18}, WHITE);
        poly({54, 50, 42, 52, 38, 40}, WHITE);
        circlefill(T, 32, 29, 5, WOOD_DARK);
        break;
    case 17: // field: sheaves of wheat
        for (int i = -1; i <= 1; ++i)
        {
            const int x = 32 + i * 14;
            thick(x, 58, x, 22, 4, GOLD);
            for (int k = 0; k < 4; ++k)
            {
                ellipsefill(T, x - 5, 14 + k * 8, 5, 3, GOLD);
                ellipsefill(T, x + 5, 14 + k * 8, 5, 3, GOLD);
            }
            ellipsefill(T, x, 8, 3, 6, GOLD);
        }
        break;
    case 18: // bridge: a stone arch over water
        rectfill(T, 4, 22, 60, 48, STONE);
        rectfill(T, 4, 16, 60, 22, STONE_DARK);
        ellipsefill(T, 32, 52, 18, 20, MAGENTA);
        wave(52, 3, 6, SEA, 10, 54);
        break;
    case 19: // inn: a big house with lit windows and a sign
        rectfill(T, 10, 28, 46, 58, WALL);
        poly({4, 30, 28, 8, 52, 30}, WOOD);
        rectfill(T, 15, 36, 23, 44, WINDOW);
        rectfill(T, 33, 36, 41, 44, WINDOW);
        rectfill(T, 24, 46, 32, 58, WOOD_DARK);
        thick(52, 24, 62, 24, 3, WOOD_DARK);
        rectfill(T, 52, 28, 62, 40, GOLD);
        break;
    case 20: // shrine: a small temple
        poly({6, 22, 32, 6, 58, 22}, BONE);
        rectfill(T, 8, 22, 56, 26, BONE);
        for (int x = 12; x <= 46; x += 12)
            rectfill(T, x, 26, x + 6, 50, BONE);
        rectfill(T, 4, 50, 60, 58, BONE);
        circlefill(T, 32, 16, 3, GOLD);
        break;
    case 21: // crossroads: a signpost
        thick(32, 6, 32, 60, 6, WOOD_DARK);
        poly({8, 12, 44, 12, 54, 19, 44, 26, 8, 26}, make_colour(215, 160, 80));
        poly({56, 32, 20, 32, 10, 39, 20, 46, 56, 46}, make_colour(215, 160, 80));
        break;
    case 22: // hills
        ellipsefill(T, 20, 54, 18, 26, GRASS);
        ellipsefill(T, 42, 54, 20, 34, LEAF);
        rectfill(T, 0, 55, 63, 63, MAGENTA);
        break;
    case 23: // watchtower
        battlement_tower(20, 14, 44, 60, STONE);
        rectfill(T, 28, 24, 36, 34, HOLE);
        rectfill(T, 27, 46, 37, 60, WOOD_DARK);
        break;
    case 24: // mountain with a snowcap
        poly({2, 58, 26, 8, 38, 30, 44, 22, 62, 58}, make_colour(140, 120, 100));
        poly({26, 8, 34, 24, 29, 21, 24, 26, 19, 22}, WHITE);
        break;
    case 25: // snowflake
        for (int k = 0; k < 3; ++k)
        {
            const double a = k * M_PI / 3 + M_PI / 2;
            const int dx = (int)(26 * std::cos(a)), dy = (int)(26 * std::sin(a));
            thick(32 - dx, 32 - dy, 32 + dx, 32 + dy, 6, ICE);
            for (int s = -1; s <= 1; s += 2)
            {
                const int bx = 32 + s * dx * 6 / 10, by = 32 + s * dy * 6 / 10;
                const double b1 = a + (s > 0 ? 0 : M_PI) + 0.7, b2 = b1 - 1.4;
                thick(bx, by, bx + (int)(8 * std::cos(b1)), by + (int)(8 * std::sin(b1)), 4, ICE);
                thick(bx, by, bx + (int)(8 * std::cos(b2)), by + (int)(8 * std::sin(b2)), 4, ICE);
            }
        }
        break;
    case 26: // oasis: a palm tree
        for (int i = 0; i <= 40; ++i)
            circlefill(T, 34 - (i * i) / 120, 60 - i, 3, WOOD);
        thick(22, 20, 4, 26, 6, LEAF);
        thick(22, 20, 40, 26, 6, LEAF);
        thick(22, 20, 10, 8, 6, LEAF);
        thick(22, 20, 36, 8, 6, LEAF);
        thick(22, 20, 22, 34, 5, LEAF);
        circlefill(T, 25, 24, 3, WOOD_DARK);
        ellipsefill(T, 40, 60, 20, 4, SEA_LIGHT);
        break;
    case 27: // dunes
        circlefill(T, 46, 14, 8, GOLD);
        ellipsefill(T, 20, 58, 22, 26, SAND);
        ellipsefill(T, 44, 60, 22, 22, DUNE);
        rectfill(T, 0, 58, 63, 63, MAGENTA);
        break;
    case 28: // volcano
        poly({2, 60, 24, 20, 40, 20, 62, 60}, make_colour(95, 70, 60));
        poly({24, 20, 40, 20, 36, 30, 34, 46, 30, 36, 28, 30}, FIRE);
        circlefill(T, 28, 10, 6, make_colour(150, 150, 150));
        circlefill(T, 38, 6, 5, make_colour(150, 150, 150));
        break;
    case 29: // marsh: reeds and cattails in water
        for (int i = 0; i < 4; ++i)
        {
            const int x = 12 + i * 13;
            thick(x, 56, x + (i % 2 ? 3 : -3), 14 + (i % 2) * 8, 4, LEAF);
            ellipsefill(T, x + (i % 2 ? 3 : -3), 20 + (i % 2) * 8, 4, 8, WOOD);
        }
        wave(54, 2, 6, SEA, 4, 60);
        break;
    case 30: // standing stones
        rectfill(T, 8, 20, 20, 58, STONE);
        rectfill(T, 44, 20, 56, 58, STONE);
        rectfill(T, 4, 12, 60, 22, STONE_DARK);
        rectfill(T, 27, 32, 37, 58, STONE);
        break;
    case 31: // ruins: broken columns
        rectfill(T, 8, 20, 18, 56, BONE);
        poly({8, 20, 18, 14, 18, 20}, BONE);
        rectfill(T, 28, 36, 38, 56, BONE);
        rectfill(T, 46, 10, 56, 56, BONE);
        rectfill(T, 4, 54, 60, 60, STONE);
        poly({40, 48, 46, 44, 50, 52}, STONE);
        break;
    case 32: // graveyard: a headstone and a cross
        rectfill(T, 8, 26, 34, 58, STONE);
        circlefill(T, 21, 26, 13, STONE);
        thick(21, 22, 21, 44, 4, STONE_DARK);
        thick(14, 30, 28, 30, 4, STONE_DARK);
        thick(48, 20, 48, 58, 7, WOOD);
        thick(38, 30, 58, 30, 7, WOOD);
        break;
    case 33: // gallows with a noose
        thick(16, 60, 16, 6, 7, WOOD);
        thick(12, 8, 52, 8, 7, WOOD);
        thick(16, 22, 30, 8, 5, WOOD);
        thick(44, 8, 44, 28, 3, make_colour(200, 180, 120));
        circle(T, 44, 34, 6, make_colour(200, 180, 120));
        circle(T, 44, 34, 5, make_colour(200, 180, 120));
        rectfill(T, 4, 56, 40, 60, WOOD_DARK);
        break;
    case 34: // skull
        skull(32, 28, 20);
        break;
    case 35: // eyrie: an eagle spreading its wings over a crag
        poly({10, 63, 26, 40, 32, 46, 40, 36, 54, 63}, make_colour(130, 120, 110));
        thick(32, 26, 16, 12, 8, WOOD_DARK);
        thick(16, 12, 4, 20, 6, WOOD_DARK);
        thick(32, 26, 48, 12, 8, WOOD_DARK);
        thick(48, 12, 60, 20, 6, WOOD_DARK);
        ellipsefill(T, 32, 28, 6, 10, WOOD_DARK);
        poly({26, 36, 38, 36, 32, 44}, WOOD_DARK);
        circlefill(T, 32, 16, 5, WHITE);
        poly({35, 15, 41, 18, 35, 20}, GOLD);
        break;
    case 36: // cave: a rock mound with a dark mouth
        mound(make_colour(140, 125, 110));
        ellipsefill(T, 32, 52, 12, 18, HOLE);
        rectfill(T, 0, 56, 63, 63, MAGENTA);
        break;
    case 37: // den: a dark hole with eyes in it
        mound(make_colour(100, 80, 55));
        ellipsefill(T, 32, 50, 17, 20, HOLE);
        rectfill(T, 0, 56, 63, 63, MAGENTA);
        circlefill(T, 25, 44, 4, WINDOW);
        circlefill(T, 39, 44, 4, WINDOW);
        break;
    case 38: // crypt: a stone tomb with a cross over its door
        poly({6, 22, 32, 6, 58, 22}, STONE_DARK);
        rectfill(T, 10, 22, 54, 58, STONE);
        rectfill(T, 22, 34, 42, 58, HOLE);
        thick(32, 12, 32, 28, 4, BONE);
        thick(26, 17, 38, 17, 4, BONE);
        break;
    case 39: // mine: crossed pick and shovel
        thick(54, 56, 18, 18, 6, WOOD);
        poly({8, 6, 24, 6, 26, 20, 16, 28, 6, 20}, STONE);
        thick(10, 56, 46, 18, 6, WOOD);
        for (int d = -75; d <= -15; ++d)
        {
            const double a = d * M_PI / 180.0;
            const int w = 4 - std::abs(d + 45) / 10;
            circlefill(T, 20 + (int)(38 * std::cos(a)), 48 + (int)(38 * std::sin(a)), std::max(1, w + 1), STONE_DARK);
        }
        break;
    case 40: // ice cave: icy mound, blue mouth and icicles
        mound(ICE);
        ellipsefill(T, 32, 52, 13, 18, SEA_DEEP);
        rectfill(T, 0, 56, 63, 63, MAGENTA);
        poly({22, 36, 26, 36, 24, 46}, WHITE);
        poly({30, 34, 34, 34, 32, 48}, WHITE);
        poly({38, 36, 42, 36, 40, 46}, WHITE);
        break;
    case 41: // pyramid
        poly({2, 56, 32, 8, 62, 56}, SAND);
        poly({32, 8, 62, 56, 40, 56}, DUNE);
        rectfill(T, 27, 44, 35, 56, HOLE);
        break;
    case 42: // pit: a dark hole in the ground
        ellipsefill(T, 32, 36, 28, 18, make_colour(120, 90, 60));
        ellipsefill(T, 32, 38, 21, 12, HOLE);
        ellipsefill(T, 32, 44, 10, 4, make_colour(170, 30, 20));
        break;
    case 43: // labyrinth
        rectfill(T, 4, 4, 59, 59, make_colour(190, 170, 120));
        rectfill(T, 10, 10, 53, 53, HOLE);
        rectfill(T, 16, 16, 47, 47, make_colour(190, 170, 120));
        rectfill(T, 22, 22, 41, 41, HOLE);
        rectfill(T, 28, 28, 35, 35, FIRE);
        rectfill(T, 28, 4, 35, 16, HOLE);
        rectfill(T, 47, 28, 53, 35, make_colour(190, 170, 120));
        rectfill(T, 41, 28, 47, 35, HOLE);
        rectfill(T, 10, 28, 16, 35, make_colour(190, 170, 120));
        break;
    case 44: // nest: a web with its spider
        for (int k = 0; k < 8; ++k)
        {
            const double a = k * M_PI / 4;
            thick(32, 32, 32 + (int)(28 * std::cos(a)), 32 + (int)(28 * std::sin(a)), 3, WHITE);
        }
        for (int r = 10; r <= 26; r += 8)
            for (int k = 0; k < 8; ++k)
            {
                const double a = k * M_PI / 4, b = (k + 1) * M_PI / 4;
                thick(32 + (int)(r * std::cos(a)), 32 + (int)(r * std::sin(a)), 32 + (int)(r * std::cos(b)),
                      32 + (int)(r * std::sin(b)), 2, WHITE);
            }
        circlefill(T, 32, 34, 8, HOLE);
        circlefill(T, 32, 24, 5, HOLE);
        for (int s = -1; s <= 1; s += 2)
            for (int k = 0; k < 3; ++k)
                thick(32, 32, 32 + s * 16, 24 + k * 8, 3, HOLE);
        circlefill(T, 30, 23, 1, FIRE);
        circlefill(T, 34, 23, 1, FIRE);
        break;
    case 45: // ossuary: skull and crossed bones
        thick(8, 12, 56, 56, 7, BONE);
        thick(56, 12, 8, 56, 7, BONE);
        for (int i : {8, 56})
            for (int j : {12, 56})
            {
                circlefill(T, i - 3, j, 5, BONE);
                circlefill(T, i + 3, j, 5, BONE);
            }
        // A dark ring parts the skull from the bones behind it.
        circlefill(T, 32, 27, 21, RIM);
        rectfill(T, 18, 35, 46, 54, RIM);
        skull(32, 27, 19);
        break;
    case 46: // dark fortress: black towers with red windows
        rectfill(T, 12, 30, 52, 60, EVIL);
        poly({4, 60, 4, 18, 10, 4, 16, 18, 16, 60}, EVIL);
        poly({48, 60, 48, 18, 54, 4, 60, 18, 60, 60}, EVIL);
        poly({24, 30, 32, 6, 40, 30}, EVIL);
        rectfill(T, 8, 24, 12, 32, FIRE);
        rectfill(T, 52, 24, 56, 32, FIRE);
        rectfill(T, 29, 20, 35, 28, FIRE);
        ellipsefill(T, 32, 52, 7, 8, HOLE);
        rectfill(T, 25, 52, 39, 60, HOLE);
        break;
    case 47: // dragon lair, hellmouth: flames
        poly({8, 58, 6, 32, 16, 40, 18, 14, 28, 30, 34, 2, 42, 28, 48, 16, 52, 38, 58, 30, 56, 58}, FIRE);
        poly({16, 58, 16, 42, 24, 46, 28, 24, 36, 40, 42, 28, 48, 58}, FLAME);
        poly({24, 58, 26, 48, 32, 52, 36, 38, 40, 58}, EMBER);
        break;
    default:
        break;
    }
    add_rim(T, 3);
}

BITMAP* make_nodes()
{
    const int iRows = (ICON_COUNT + 9) / 10;
    BITMAP* bmp = create_bitmap_ex(32, 10 * TILE, iRows * TILE);
    clear_to_color(bmp, MAGENTA);
    T = create_bitmap_ex(32, TILE, TILE);
    for (int n = 0; n < ICON_COUNT; ++n)
    {
        draw_icon(n);
        blit(T, bmp, 0, 0, (n % 10) * TILE, (n / 10) * TILE, TILE, TILE);
    }
    destroy_bitmap(T);
    T = nullptr;
    return bmp;
}

BITMAP* make_badges()
{
    BITMAP* bmp = create_bitmap_ex(32, 96, 32);
    clear_to_color(bmp, MAGENTA);
    T = create_bitmap_ex(32, 32, 32);
    // Column 0 is the badge of every node: left empty.
    // Column 1, the start node: a green pennant.
    clear_to_color(T, MAGENTA);
    thick(8, 3, 8, 29, 4, WOOD_DARK);
    poly({10, 3, 29, 9, 10, 16}, make_colour(40, 220, 60));
    add_rim(T, 2);
    blit(T, bmp, 0, 0, 32, 0, 32, 32);
    // Column 2, the end of the game: a golden crown.
    clear_to_color(T, MAGENTA);
    poly({3, 26, 3, 8, 10, 17, 16, 4, 22, 17, 29, 8, 29, 26}, GOLD);
    circlefill(T, 16, 20, 3, FIRE);
    add_rim(T, 2);
    blit(T, bmp, 0, 0, 64, 0, 32, 32);
    destroy_bitmap(T);
    T = nullptr;
    return bmp;
}

BITMAP* make_smiley()
{
    BITMAP* bmp = create_bitmap_ex(32, 16, 16);
    clear_to_color(bmp, MAGENTA);
    circlefill(bmp, 7, 7, 7, RIM);
    circlefill(bmp, 7, 7, 6, GOLD);
    rectfill(bmp, 5, 4, 5, 6, RIM);
    rectfill(bmp, 9, 4, 9, 6, RIM);
    putpixel(bmp, 4, 9, RIM);
    hline(bmp, 5, 10, 9, RIM);
    putpixel(bmp, 10, 9, RIM);
    return bmp;
}

bool save_or_report(const std::string& sPath, BITMAP* bmp, bool bPcx)
{
    const int iResult = bPcx ? save_pcx(sPath.c_str(), bmp, nullptr) : save_bmp(sPath.c_str(), bmp, nullptr);
    destroy_bitmap(bmp);
    if (iResult != 0)
    {
        std::fprintf(stderr, "make_images: cannot write %s\n", sPath.c_str());
        return false;
    }
    return true;
}
}

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    if (!start_headless_allegro())
    {
        std::fprintf(stderr, "make_images: cannot start Allegro\n");
        return 1;
    }

    const std::string sDir = argv[1];
    bool bOk = save_or_report(sDir + "/Nodes.pcx", make_nodes(), true);
    bOk = save_or_report(sDir + "/significant_locations.bmp", make_badges(), false) && bOk;
    bOk = save_or_report(sDir + "/smiley.bmp", make_smiley(), false) && bOk;
    return bOk ? 0 : 1;
}
END_OF_MAIN()
