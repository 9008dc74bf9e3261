// Methods of WORLD: the background, the planet picture blurred once at start-up and drawn
// behind the map in every frame.

#include "world/world.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "framework/camera.h"
#include "framework/colours.h"
#include "framework/helpers.h"
#include "framework/random.h"
#include "world/geometry.h"

namespace
{
const int BACKGROUND_WIDTH = 1024;
const int BACKGROUND_HEIGHT = 768;
const int BLUR_ALPHA = 80;

// Allegro's truecolour translucency at alpha 80, the blender that set_trans_blender installs
// for 24 and 32 bits, as circlefill applies it in DRAW_MODE_TRANS: x the colour drawn, y the
// pixel under it. The library works in unsigned long; red and blue share the word, and a
// negative difference wraps. Only the bits below 24 are kept, and those come out the same in
// 32-bit arithmetic.
inline std::uint32_t trans_blend_32(std::uint32_t x, std::uint32_t y)
{
    const std::uint32_t n = BLUR_ALPHA + 1;
    std::uint32_t res = ((x & 0xFF00FF) - (y & 0xFF00FF)) * n / 256 + y;
    std::uint32_t g = ((x & 0xFF00) - (y & 0xFF00)) * n / 256 + (y & 0xFF00);
    return (res & 0xFF00FF) | (g & 0xFF00);
}

// The discs of radius 2 whose circlefill covers a pixel, as offsets of their centres from it,
// in the order they are drawn (x, then y): the rows y - 2 and y + 2 of a disc reach 1 pixel
// to either side, the three rows between 2.
struct DISC_OFFSET
{
    int dx;
    int dy;
};
const DISC_OFFSET DISCS_OVER_A_PIXEL[] = {
    {-2, -1}, {-2, 0}, {-2, 1},                    //
    {-1, -2}, {-1, -1}, {-1, 0}, {-1, 1}, {-1, 2}, //
    {0, -2},  {0, -1},  {0, 0},  {0, 1},  {0, 2},  //
    {1, -2},  {1, -1},  {1, 0},  {1, 1},  {1, 2},  //
    {2, -1},  {2, 0},   {2, 1}};
}

int WORLD::jitter_colour(int iRed, int iGreen, int iBlue)
{
    // One draw a local, in order: the first of each pair is added, the second subtracted.
    int iR_plus = random_next() % 3;
    int iR_minus = random_next() % 3;
    int iG_plus = random_next() % 3;
    int iG_minus = random_next() % 3;
    int iB_plus = random_next() % 3;
    int iB_minus = random_next() % 3;
    return make_colour(std::clamp(iRed + iR_plus - iR_minus, 0, 255), std::clamp(iGreen + iG_plus - iG_minus, 0, 255),
                       std::clamp(iBlue + iB_plus - iB_minus, 0, 255));
}

void WORLD::blur_by_discs(BITMAP* bmpScratch, BITMAP* bmpTarget)
{
    for (int x = 0; x < bmpScratch->w; x++)
        for (int y = 0; y < bmpScratch->h; y++)
        {
            const int iColour = getpixel(bmpScratch, x, y);
            circlefill(bmpTarget, x, y, 2, jitter_colour(getr(iColour), getg(iColour), getb(iColour)));
        }
}

void WORLD::blur(BITMAP* bmpScratch, BITMAP* bmpTarget)
{
    if (!is_direct(bmpScratch) || !is_direct(bmpTarget))
    {
        blur_by_discs(bmpScratch, bmpTarget);
        return;
    }
    // The jittered colours first, in the order of their draws.
    const int iWidth = bmpScratch->w;
    const int iHeight = bmpScratch->h;
    std::vector<std::uint32_t> v_Colours((size_t)iWidth * iHeight);
    for (int x = 0; x < iWidth; x++)
        for (int y = 0; y < iHeight; y++)
        {
            const int iColour = (int)pixel_line(bmpScratch, y)[x];
            v_Colours[(size_t)y * iWidth + x] = (std::uint32_t)jitter_colour(getr32(iColour), getg32(iColour), getb32(iColour));
        }

    // Then each target pixel takes the blends of the discs over it in the order the discs are
    // drawn, so pixels need not wait on each other: eight at a time inside the picture.
    const int iLeft = std::max(bmpTarget->cl, -2);
    const int iRight = std::min(bmpTarget->cr - 1, iWidth + 1);
    const int iTop = std::max(bmpTarget->ct, -2);
    const int iBottom = std::min(bmpTarget->cb - 1, iHeight + 1);
    const int BLOCK = 8;
    for (int py = iTop; py <= iBottom; py++)
    {
        std::uint32_t* pLine = pixel_line(bmpTarget, py);
        const bool bRow_inside = py >= 2 && py <= iHeight - 3;
        int px = iLeft;
        while (px <= iRight)
        {
            if (bRow_inside && px >= 2 && px + BLOCK - 1 <= std::min(iRight, iWidth - 3))
            {
                std::uint32_t a_Pixels[BLOCK];
                for (int k = 0; k < BLOCK; k++)
                    a_Pixels[k] = pLine[px + k];
                for (const DISC_OFFSET& o : DISCS_OVER_A_PIXEL)
                {
                    const std::uint32_t* pColours = &v_Colours[(size_t)(py + o.dy) * iWidth + px + o.dx];
                    for (int k = 0; k < BLOCK; k++)
                        a_Pixels[k] = trans_blend_32(pColours[k], a_Pixels[k]);
                }
                for (int k = 0; k < BLOCK; k++)
                    pLine[px + k] = a_Pixels[k];
                px += BLOCK;
                continue;
            }
            std::uint32_t iPixel = pLine[px];
            for (const DISC_OFFSET& o : DISCS_OVER_A_PIXEL)
            {
                const int x = px + o.dx;
                const int y = py + o.dy;
                if (x >= 0 && x < iWidth && y >= 0 && y < iHeight)
                    iPixel = trans_blend_32(v_Colours[(size_t)y * iWidth + x], iPixel);
            }
            pLine[px] = iPixel;
            px++;
        }
    }
}

void WORLD::make_background(BITMAP* bmpPlanet_image)
{
    BITMAP* bmpScratch = create_bitmap_or_die(BACKGROUND_WIDTH, BACKGROUND_HEIGHT);
    destroy_bitmap_if(bmpBackground);
    bmpBackground = create_bitmap_or_die(BACKGROUND_WIDTH, BACKGROUND_HEIGHT);
    clear_bitmap(bmpBackground);
    stretch_blit(bmpPlanet_image, bmpScratch, 0, 0, bmpPlanet_image->w, bmpPlanet_image->h, 0, 0,
                 BACKGROUND_WIDTH, BACKGROUND_HEIGHT);
    set_trans_blender(0, 0, 0, BLUR_ALPHA);
    drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
    show_progress(10, 170, WHITE, "Blurring LOD");
    blur(bmpScratch, bmpBackground);
    solid_mode();
    destroy_bitmap(bmpScratch);
}


void WORLD::draw_background(BITMAP* target, int iWidth, int iHeight)
{
    CAMERA* c = CAMERA::current();
    float d = c->get_x() - WORLD_WIDTH / 2;
    clear_bitmap(target);
    bool bZoomed_out = c->get_zoom() < 1;
    auto copy_at = [&](float X) {
        stretch_blit(bmpBackground, target, 0, 0, BACKGROUND_WIDTH, BACKGROUND_HEIGHT,
                     (int)c->world_to_screen_x(X), (int)c->world_to_screen_y(0),
                     (int)c->scale_length_x(iWidth), (int)c->scale_length_y(iHeight));
    };
    if (d < 0 || bZoomed_out)
        copy_at(-WORLD_WIDTH);
    copy_at(0);
    if (d >= 0 || bZoomed_out)
        copy_at(WORLD_WIDTH);
}
