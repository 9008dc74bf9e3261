// planet_image SEED OUT.bmp [LABELS.bmp]
// Generates the planet a seed gives, as the game does at start-up, and saves its image and,
// when asked, a picture of its landmass labels (sea black, every landmass its own colour).
// The file type follows the extension (BMP, PCX, TGA).

#include <allegro.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "framework/colours.h"
#include "framework/headless.h"
#include "framework/random.h"
#include "world/planet/planet.h"

namespace
{
// Hues spread by the golden angle, so neighbouring labels look different.
int label_colour(int iLabel)
{
    if (iLabel <= 0)
        return BLACK;
    int r = 0;
    int g = 0;
    int b = 0;
    float fHue = (float)((iLabel * 137.508) - 360.0 * (int)(iLabel * 137.508 / 360.0));
    hsv_to_rgb(fHue, 0.55f + 0.15f * (iLabel % 3), 1.0f - 0.2f * (iLabel % 2), &r, &g, &b);
    return make_colour(r, g, b);
}

BITMAP* make_label_picture(PLANET* pPlanet)
{
    BITMAP* bmp = create_bitmap_ex(32, WORLD_WIDTH, WORLD_HEIGHT);
    if (bmp == nullptr)
        return nullptr;
    for (int y = 0; y < WORLD_HEIGHT; y++)
        for (int x = 0; x < WORLD_WIDTH; x++)
            putpixel(bmp, x, y, label_colour(pPlanet->get_cell(x, y)->iLandmass));
    return bmp;
}
}

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 4)
    {
        std::fprintf(stderr, "usage: %s SEED OUT.bmp [LABELS.bmp]\n", argv[0]);
        return 2;
    }
    char* pEnd = nullptr;
    unsigned long ulSeed = std::strtoul(argv[1], &pEnd, 10);
    if (pEnd == argv[1] || *pEnd != '\0')
    {
        std::fprintf(stderr, "planet_image: the seed must be a number, not '%s'\n", argv[1]);
        return 2;
    }

    if (!start_headless_allegro())
    {
        std::fprintf(stderr, "planet_image: cannot start Allegro\n");
        return 1;
    }

    // The progress lines go to an off-screen stand-in for the screen.
    screen = create_bitmap_ex(32, WORLD_WIDTH, WORLD_HEIGHT);
    clear_to_color(screen, BLACK);

    random_seed((unsigned int)ulSeed);
    std::unique_ptr<PLANET> pPlanet(new PLANET());
    pPlanet->create_bitmaps();
    pPlanet->generate(500, 300);
    pPlanet->render(WORLD_WIDTH, WORLD_HEIGHT);

    int iStatus = 0;
    if (save_bitmap(argv[2], pPlanet->get_image(), nullptr) != 0)
    {
        std::fprintf(stderr, "planet_image: cannot write %s\n", argv[2]);
        iStatus = 1;
    }
    if (argc == 4)
    {
        BITMAP* bmpLabels = make_label_picture(pPlanet.get());
        if (bmpLabels == nullptr || save_bitmap(argv[3], bmpLabels, nullptr) != 0)
        {
            std::fprintf(stderr, "planet_image: cannot write %s\n", argv[3]);
            iStatus = 1;
        }
        if (bmpLabels != nullptr)
            destroy_bitmap(bmpLabels);
    }
    // Regions joined across the seam share a label, so fewer landmasses than labels remain.
    std::vector<bool> a_Seen(pPlanet->iLabel_count + 1, false);
    int iLandmasses = 0;
    for (int x = 0; x < WORLD_WIDTH; x++)
        for (int y = 0; y < WORLD_HEIGHT; y++)
        {
            int iLabel = pPlanet->get_cell(x, y)->iLandmass;
            if (iLabel > 0 && !a_Seen[iLabel])
            {
                a_Seen[iLabel] = true;
                iLandmasses++;
            }
        }
    std::printf("seed %lu: %d landmasses, labels up to %d\n", ulSeed, iLandmasses,
                pPlanet->iLabel_count);

    pPlanet.reset();
    destroy_bitmap(screen);
    screen = nullptr;
    return iStatus;
}
