#include "world/planet/planet.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "framework/camera.h"
#include "framework/colours.h"
#include "framework/helpers.h"
#include "framework/random.h"
#include "framework/screen_layout.h"
#include "world/planet/planet_detail.h"

using namespace planet_detail;

namespace
{
constexpr int HEIGHT_LIMIT = 25000;
constexpr int NOISE_MARGIN = 100;

inline int next_amount(int amount, float decay)
{
    return (int)(amount * decay);
}

// Adds the amount to a cell, takes the kind roll above the lowest band and keeps the height
// within the limits.
inline void change_height(CELL& cCell, int amount, int kind_roll)
{
    cCell.iHeight += amount;
    cCell.iKind = cCell.iHeight < 2500 ? 1 : kind_roll;
    if (cCell.iHeight > HEIGHT_LIMIT)
        cCell.iHeight = HEIGHT_LIMIT;
    else if (cCell.iHeight < -HEIGHT_LIMIT)
        cCell.iHeight = -HEIGHT_LIMIT;
}

// One coordinate's step of the centre walk: when the roll reaches the threshold it moves by
// the difference of two draws, the first added and the second taken off.
void walk_coordinate(int& v, int threshold)
{
    if (random_next() % 100 >= threshold)
    {
        int a = random_next() % 55;
        int b = random_next() % 55;
        v += a - b;
    }
}

// A single wrap by size after a step; a centre that drifted further off stays off.
int wrap_coordinate(int v, int size)
{
    if (v < 0)
        return v + size;
    if (v >= size)
        return v - size;
    return v;
}
}

PLANET::PLANET()
    : bmpImage(nullptr),
      bmpNoise(nullptr),
      cClimate(),
      iHot_column(200),
      iReserved(0),
      bmpLabels(nullptr),
      iLabel_count(0),
      forest(false)
{
    for (int i = 0; i < PLANET_FOREST_ZONES; i++)
    {
        forestx[i] = 0;
        foresty[i] = 0;
        forest_range[i] = 0.0f;
    }
    for (int x = 0; x < WORLD_WIDTH; x++)
        for (int y = 0; y < WORLD_HEIGHT; y++)
            CELL::init(&aCells[x][y]);
}

PLANET::~PLANET()
{
    destroy_bitmap_if(bmpImage);
    destroy_bitmap_if(bmpLabels);
    destroy_bitmap_if(bmpNoise);
}

void PLANET::create_bitmaps()
{
    destroy_bitmap_if(bmpImage);
    destroy_bitmap_if(bmpLabels);
    bmpImage = create_bitmap_or_die(WORLD_WIDTH, WORLD_HEIGHT);
    bmpLabels = create_bitmap_or_die(WORLD_WIDTH, WORLD_HEIGHT);
    clear_to_color(bmpLabels, 0);
    for (int x = 0; x < WORLD_WIDTH; x++)
        for (int y = 0; y < WORLD_HEIGHT; y++)
            aCells[x][y].iHeight = 0;
}

void PLANET::generate()
{
    generate_terrain(random_next() % 50 + 2, 0);
}

void PLANET::generate(int mountains)
{
    generate_terrain(mountains, 0);
}

void PLANET::generate(int mountains, int holes)
{
    generate_terrain(mountains, holes);
}

void PLANET::generate_terrain(int mountains, int holes)
{
    CLIMATE cNew_climate(36, 6000.0f, (float)(6.963 * std::pow(10.0, 8.0)), 0.31f, 0.26f,
                         (float)(1.496 * std::pow(10.0, 11.0)));
    make_climate_noise();
    cClimate = cNew_climate;

    // The hole walk goes on from the last mountain centre.
    int iX = 0;
    int iY = 0;
    show_progress(10, "Creating Mountains");
    for (int i = 0; i < mountains; i++)
        make_mountain(iX, iY);

    show_progress(20, "Creating Holes");
    for (int i = 0; i < holes; i++)
        make_hole(iX, iY);

    show_progress(30, "Calculating Temperature");
    calculate_temperature();

    show_progress(40, "Rendering Planet");
}

void PLANET::make_mountain(int& x, int& y)
{
    if (x == 0 && y == 0)
    {
        x = 224 + random_next() % 415;
        y = 168 + random_next() % 311;
    }
    else if (random_next() % 100 >= 95)
    {
        x = 96 + random_next() % 544;
        y = 72 + random_next() % 408;
    }
    else
    {
        walk_coordinate(x, 20);
        x = wrap_coordinate(x, WORLD_WIDTH);
        // Mountain rows are left alone: a centre off the grid raises nothing.
        walk_coordinate(y, 50);
    }

    int iAmount = 10 + random_next() % 6250;
    float fDecay = random_decay();
    raise_spot(x, y, iAmount, fDecay);
}

void PLANET::make_hole(int& x, int& y)
{
    if (x == 0 && y == 0)
    {
        x = random_next() % WORLD_WIDTH;
        y = random_next() % WORLD_HEIGHT;
    }
    else if (random_next() % 100 >= 95)
    {
        x = random_next() % WORLD_WIDTH;
        y = random_next() % WORLD_HEIGHT;
    }
    else
    {
        walk_coordinate(x, 50);
        x = wrap_coordinate(x, WORLD_WIDTH);
        walk_coordinate(y, 50);
        y = wrap_coordinate(y, WORLD_HEIGHT);
    }

    int iAmount = -(10 + random_next() % 5000);
    if (iAmount < -5000)
        iAmount = -5000;
    float fDecay = random_decay();
    raise_spot(x, y, iAmount, fDecay);
}

float PLANET::random_decay()
{
    return (float)(random_next() % 200) / 1000.0f + 0.785f;
}

bool PLANET::apply_height(int x, int y, int amount, int kind_roll)
{
    if (x < 0 || x >= WORLD_WIDTH || y < 0 || y >= WORLD_HEIGHT)
        return false;
    if (amount > -15 && amount < 15)
        return false;
    change_height(aCells[x][y], amount, kind_roll);
    return true;
}

void PLANET::raise_spot(int x, int y, int amount, float decay)
{
    int iKind_roll = random_next() % 100;
    if (!apply_height(x, y, amount, iKind_roll))
        return;
    int iNext = next_amount(amount, decay);
    spread_right(x + 1, y, iNext, decay, iKind_roll);
    spread_left(x - 1, y, iNext, decay, iKind_roll);
    spread_column(x, y, iNext, decay, iKind_roll);
}

// The arms are loops rather than tail calls: each arm step's last act is the next step of the
// same arm, so a loop visits the cells in the same order without needing ~310 stack frames.
void PLANET::spread_right(int x, int y, int amount, float decay, int kind_roll)
{
    for (;;)
    {
        if (x == WORLD_WIDTH)
            x = 0;
        if (!apply_height(x, y, amount, kind_roll))
            return;
        int iNext = next_amount(amount, decay);
        spread_column(x, y, iNext, decay, kind_roll);
        amount = iNext;
        x++;
    }
}

void PLANET::spread_left(int x, int y, int amount, float decay, int kind_roll)
{
    for (;;)
    {
        if (x == -1)
            x = WORLD_WIDTH - 1;
        if (!apply_height(x, y, amount, kind_roll))
            return;
        int iNext = next_amount(amount, decay);
        spread_column(x, y, iNext, decay, kind_roll);
        amount = iNext;
        x--;
    }
}

void PLANET::spread_up(int x, int y, int amount, float decay, int kind_roll)
{
    for (;;)
    {
        // The polar bands flatten the mountains.
        if (y >= 100 && y < 140)
            amount = (int)(amount * 0.99);
        else if (y < 100)
            amount = (int)(amount * 0.95);
        if (y < 0)
            return;
        if (!apply_height(x, y, amount, kind_roll))
            return;
        amount = next_amount(amount, decay);
        y--;
    }
}

void PLANET::spread_down(int x, int y, int amount, float decay, int kind_roll)
{
    for (;;)
    {
        if (y > 340 && y <= 380)
            amount = (int)(amount * 0.99);
        else if (y > 380)
            amount = (int)(amount * 0.95);
        if (y >= WORLD_HEIGHT)
            return;
        if (!apply_height(x, y, amount, kind_roll))
            return;
        amount = next_amount(amount, decay);
        y++;
    }
}

// spread_down(x, y + 1) followed by spread_up(x, y - 1), walked side by side: the two arms
// change different cells of the column and draw nothing, so the result is the same, while
// the two independent chains of decaying amounts overlap in the processor.
void PLANET::spread_column(int x, int y, int amount, float decay, int kind_roll)
{
    if (x < 0 || x >= WORLD_WIDTH)
        return;
    CELL* pColumn = aCells[x];
    int iDown_y = y + 1;
    int iDown = amount;
    int iUp_y = y - 1;
    int iUp = amount;
    bool bDown = true;
    bool bUp = true;
    while (bDown || bUp)
    {
        if (bDown)
        {
            if (iDown_y > 340 && iDown_y <= 380)
                iDown = (int)(iDown * 0.99);
            else if (iDown_y > 380)
                iDown = (int)(iDown * 0.95);
            if (iDown_y >= WORLD_HEIGHT || iDown_y < 0 || (iDown > -15 && iDown < 15))
                bDown = false;
            else
            {
                change_height(pColumn[iDown_y], iDown, kind_roll);
                iDown = next_amount(iDown, decay);
                iDown_y++;
            }
        }
        if (bUp)
        {
            if (iUp_y >= 100 && iUp_y < 140)
                iUp = (int)(iUp * 0.99);
            else if (iUp_y < 100)
                iUp = (int)(iUp * 0.95);
            if (iUp_y < 0 || iUp_y >= WORLD_HEIGHT || (iUp > -15 && iUp < 15))
                bUp = false;
            else
            {
                change_height(pColumn[iUp_y], iUp, kind_roll);
                iUp = next_amount(iUp, decay);
                iUp_y--;
            }
        }
    }
}

void PLANET::make_climate_noise()
{
    destroy_bitmap_if(bmpNoise);
    bmpNoise = create_bitmap_or_die(WORLD_WIDTH, WORLD_HEIGHT);
    BITMAP* bmpScratch = create_bitmap_or_die(WORLD_WIDTH + 2 * NOISE_MARGIN,
                                              WORLD_HEIGHT + 2 * NOISE_MARGIN);
    clear_to_color(bmpScratch, BLACK);

    int iCount = 50 + random_next() % 49;
    for (int i = 0; i < iCount; i++)
    {
        int iGreen = 35 + random_next() % 220;
        int iRadius_y = 10 + random_next() % 90;
        int iRadius_x = 10 + random_next() % 90;
        int iCentre_y = NOISE_MARGIN + random_next() % WORLD_HEIGHT;
        int iCentre_x = NOISE_MARGIN + random_next() % WORLD_WIDTH;
        ellipsefill(bmpScratch, iCentre_x, iCentre_y, iRadius_x, iRadius_y,
                    make_colour(0, iGreen, 0));
    }

    wrap_noise_margins(bmpScratch);
    blit(bmpScratch, bmpNoise, NOISE_MARGIN, NOISE_MARGIN, 0, 0, WORLD_WIDTH, WORLD_HEIGHT);
    destroy_bitmap(bmpScratch);
}

void PLANET::wrap_noise_margins(BITMAP* scratch)
{
    const int iRight_margin = WORLD_WIDTH + NOISE_MARGIN;
    if (!is_direct(scratch))
    {
        for (int y = 0; y < scratch->h; y++)
            for (int x = 0; x < NOISE_MARGIN; x++)
                if (getpixel(scratch, x, y) != BLACK)
                    putpixel(scratch, x + WORLD_WIDTH, y, getpixel(scratch, x, y));
        for (int y = 0; y < scratch->h; y++)
            for (int x = iRight_margin; x < iRight_margin + NOISE_MARGIN; x++)
                if (getpixel(scratch, x, y) != BLACK)
                    putpixel(scratch, x - WORLD_WIDTH, y, getpixel(scratch, x, y));
        return;
    }
    for (int y = 0; y < scratch->h; y++)
    {
        std::uint32_t* pLine = pixel_line(scratch, y);
        for (int x = 0; x < NOISE_MARGIN; x++)
            if (pLine[x] != (std::uint32_t)BLACK)
                pLine[x + WORLD_WIDTH] = pLine[x];
    }
    for (int y = 0; y < scratch->h; y++)
    {
        std::uint32_t* pLine = pixel_line(scratch, y);
        for (int x = iRight_margin; x < iRight_margin + NOISE_MARGIN; x++)
            if (pLine[x] != (std::uint32_t)BLACK)
                pLine[x - WORLD_WIDTH] = pLine[x];
    }
}

void PLANET::calculate_temperature()
{
    iHot_column = random_next() % WORLD_WIDTH;
    for (int x = 0; x < WORLD_WIDTH; x++)
    {
        int iHot_distance = wrap_distance(iHot_column, x);
        for (int y = 0; y < WORLD_HEIGHT; y++)
        {
            CELL& cCell = aCells[x][y];
            int iNoise = read_pixel(bmpNoise, x, y);
            cCell.fTemperature = (float)cClimate.pixel_temperature(
                iHot_distance, std::abs(WORLD_HEIGHT / 2 - y), iNoise, (float)cCell.iHeight);
        }
    }
}

int PLANET::wrap_distance(int a, int b)
{
    int d = std::abs(a - b);
    if (d > WORLD_WIDTH / 2)
        d = WORLD_WIDTH - d;
    return d;
}

void PLANET::draw(BITMAP* target, int width, int height)
{
    CAMERA* pCamera = CAMERA::current();
    float fLeft = pCamera->get_x() - SCREEN_CENTRE_X;
    bool bZoomed_out = pCamera->get_zoom() < 1.0f;
    int iWidth = (int)pCamera->scale_length_x(width);
    int iHeight = (int)pCamera->scale_length_y(height);
    auto draw_copy = [&](float fWorld_x) {
        stretch_blit(bmpImage, target, 0, 0, WORLD_WIDTH, WORLD_HEIGHT,
                     (int)pCamera->world_to_screen_x(fWorld_x),
                     (int)pCamera->world_to_screen_y(0.0f), iWidth, iHeight);
    };

    clear_bitmap(target);
    if (fLeft < 0 || bZoomed_out)
        draw_copy(-WORLD_WIDTH);
    draw_copy(0.0f);
    if (fLeft >= 0 || bZoomed_out)
        draw_copy(WORLD_WIDTH);
}
