#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "framework/colours.h"
#include "framework/random.h"
#include "tests/headless.h"
#include "tests/planet_fixture.h"
#include "world/planet/planet.h"

namespace
{
constexpr unsigned int RUN_SEED = 20261210;

std::unique_ptr<PLANET> make_planet()
{
    std::unique_ptr<PLANET> pPlanet(new PLANET());
    pPlanet->create_bitmaps();
    return pPlanet;
}

void set_heights(PLANET* pPlanet, int iHeight)
{
    for (int x = 0; x < WORLD_WIDTH; x++)
        for (int y = 0; y < WORLD_HEIGHT; y++)
            pPlanet->aCells[x][y].iHeight = iHeight;
}

void fill_heights(PLANET* pPlanet, int x0, int y0, int x1, int y1, int iHeight)
{
    for (int x = x0; x <= x1; x++)
        for (int y = y0; y <= y1; y++)
            pPlanet->aCells[x][y].iHeight = iHeight;
}

int height(const PLANET& planet, int x, int y)
{
    return planet.get_cell(x, y)->iHeight;
}

// Forest zones that contain nothing.
void no_zones(PLANET* pPlanet)
{
    for (int i = 0; i < PLANET_FOREST_ZONES; i++)
    {
        pPlanet->forestx[i] = 0;
        pPlanet->foresty[i] = 0;
        pPlanet->forest_range[i] = 0.0f;
    }
}

int image_pixel(PLANET* pPlanet, int x, int y)
{
    return getpixel(pPlanet->bmpImage, x, y);
}

// The land mask's disc: which cells around a land cell carry its label.
bool in_disc(int dx, int dy)
{
    return (std::abs(dy) <= 1 && std::abs(dx) <= 2) || (std::abs(dy) == 2 && std::abs(dx) <= 1);
}

// A full planet as the world builds it, with the screen it wrote on.
struct PLANET_RUN
{
    std::unique_ptr<PLANET> pPlanet;
    BITMAP* bmpScreen;
};

PLANET_RUN run_planet(unsigned int seed)
{
    SCREEN_STANDIN standin;
    random_seed(seed);
    PLANET_RUN run;
    run.pPlanet = make_planet();
    run.pPlanet->generate(500, 300);
    run.pPlanet->render(640, 480);
    run.bmpScreen = make_test_bitmap(640, 480, BLACK);
    blit(standin.bmp, run.bmpScreen, 0, 0, 0, 0, 640, 480);
    return run;
}
}

// ---------------------------------------------------------------- whole planet

class PlanetRun : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_pFirst = new PLANET_RUN(run_planet(RUN_SEED));
        s_pSecond = new PLANET_RUN(run_planet(RUN_SEED));
    }
    static void TearDownTestSuite()
    {
        for (PLANET_RUN* pRun : {s_pFirst, s_pSecond})
        {
            destroy_bitmap(pRun->bmpScreen);
            delete pRun;
        }
    }
    static PLANET_RUN* s_pFirst;
    static PLANET_RUN* s_pSecond;
};

PLANET_RUN* PlanetRun::s_pFirst = nullptr;
PLANET_RUN* PlanetRun::s_pSecond = nullptr;

TEST_F(PlanetRun, SameSeedGivesTheSamePlanet)
{
    const PLANET& a = *s_pFirst->pPlanet;
    const PLANET& b = *s_pSecond->pPlanet;
    int iDifferences = 0;
    for (int x = 0; x < WORLD_WIDTH; x++)
    {
        for (int y = 0; y < WORLD_HEIGHT; y++)
        {
            const CELL* ca = a.get_cell(x, y);
            const CELL* cb = b.get_cell(x, y);
            iDifferences += ca->iHeight != cb->iHeight || ca->iKind != cb->iKind ||
                            ca->fTemperature != cb->fTemperature ||
                            ca->iLandmass != cb->iLandmass || ca->bRiver != cb->bRiver ||
                            ca->bForest != cb->bForest || ca->bDesert != cb->bDesert;
        }
    }
    EXPECT_EQ(0, iDifferences);
    EXPECT_EQ(a.iLabel_count, b.iLabel_count);
    EXPECT_EQ(a.iHot_column, b.iHot_column);
    EXPECT_TRUE(same_pixels(a.bmpImage, b.bmpImage));
    EXPECT_TRUE(same_pixels(a.bmpNoise, b.bmpNoise));

    // And it is a planet: land and sea, rivers, forests, several landmasses.
    int iLand = 0;
    int iRivers = 0;
    int iForest = 0;
    for (int x = 0; x < WORLD_WIDTH; x++)
        for (int y = 0; y < WORLD_HEIGHT; y++)
        {
            iLand += height(a, x, y) > 5000;
            iRivers += a.get_cell(x, y)->bRiver;
            iForest += a.get_cell(x, y)->bForest;
        }
    EXPECT_GT(iLand, 307200 / 20);
    EXPECT_LT(iLand, 307200 * 3 / 4);
    EXPECT_GT(iRivers, 100);
    EXPECT_GT(iForest, 100);
    EXPECT_GE(a.iLabel_count, 3);
}

TEST_F(PlanetRun, HeightsKindsAndTemperaturesStayInRange)
{
    const PLANET& a = *s_pFirst->pPlanet;
    for (int x = 0; x < WORLD_WIDTH; x++)
    {
        for (int y = 0; y < WORLD_HEIGHT; y++)
        {
            const CELL* c = a.get_cell(x, y);
            ASSERT_LE(c->iHeight, 25000);
            ASSERT_GE(c->iHeight, -25000);
            ASSERT_GE(c->iKind, 0);
            ASSERT_LE(c->iKind, 99);
            if (c->iHeight < 2500)
            {
                ASSERT_EQ(1, c->iKind) << x << "," << y;
            }
            ASSERT_EQ((float)(int)c->fTemperature, c->fTemperature);
            ASSERT_GT(c->fTemperature, -300.0f);
            ASSERT_LT(c->fTemperature, 300.0f);
            // Only lowland and highland can be desert; only lowland lies in a forest zone.
            if (c->bDesert)
            {
                ASSERT_TRUE(c->iHeight >= 5300 && c->iHeight < 14000) << c->iHeight;
            }
            if (c->bForest)
            {
                ASSERT_TRUE(c->iHeight >= 5300 && c->iHeight < 10050) << c->iHeight;
            }
        }
    }
}

TEST_F(PlanetRun, LandmassLabels)
{
    const PLANET& a = *s_pFirst->pPlanet;
    auto label = [&](int x, int y) { return a.get_cell(x, y)->iLandmass; };
    auto land_near = [&](int x, int y) {
        for (int dx = -2; dx <= 2; dx++)
            for (int dy = -2; dy <= 2; dy++)
            {
                int iX = x + dx;
                int iY = y + dy;
                if (in_disc(dx, dy) && iX >= 0 && iX < 640 && iY >= 0 && iY < 480 &&
                    height(a, iX, iY) > 5000)
                    return true;
            }
        return false;
    };
    for (int x = 0; x < WORLD_WIDTH; x++)
    {
        for (int y = 0; y < WORLD_HEIGHT; y++)
        {
            int iLabel = label(x, y);
            ASSERT_EQ(iLabel, getpixel(a.bmpLabels, x, y));
            if (height(a, x, y) > 5000)
            {
                ASSERT_GE(iLabel, 2) << x << "," << y;
            }
            ASSERT_LE(iLabel, a.iLabel_count);
            ASSERT_NE(1, iLabel);
            // Sea carries a label exactly within the fringe of two pixels around land.
            if (height(a, x, y) <= 5000)
            {
                ASSERT_EQ(land_near(x, y), iLabel != 0) << x << "," << y;
            }
            // Touching labelled cells belong to one region.
            if (x < 639 && iLabel != 0 && label(x + 1, y) != 0)
            {
                ASSERT_EQ(iLabel, label(x + 1, y)) << x << "," << y;
            }
            if (y < 479 && iLabel != 0 && label(x, y + 1) != 0)
            {
                ASSERT_EQ(iLabel, label(x, y + 1)) << x << "," << y;
            }
        }
    }
}

TEST_F(PlanetRun, ProgressLinesOnTheScreen)
{
    int g = 30 + draws_of(RUN_SEED, 1)[0] % 200;
    const char* sClass = g > 200   ? "World Temperature:  Ice Age"
                         : g > 125 ? "World Temperature:  Cold"
                         : g > 75  ? "World Temperature:  Temperate"
                         : g > 50  ? "World Temperature:  Tropical"
                                   : "World Temperature:  Scorching hot!";
    BITMAP* bmpExpected = make_test_bitmap(640, 480, BLACK);
    textprintf_ex(bmpExpected, font, 10, 0, WHITE, -1, "%s", sClass);
    textprintf_ex(bmpExpected, font, 10, 10, WHITE, -1, "Creating Mountains");
    textprintf_ex(bmpExpected, font, 10, 20, WHITE, -1, "Creating Holes");
    textprintf_ex(bmpExpected, font, 10, 30, WHITE, -1, "Calculating Temperature");
    textprintf_ex(bmpExpected, font, 10, 40, WHITE, -1, "Rendering Planet");
    textprintf_ex(bmpExpected, font, 10, 50, WHITE, -1, "Analyzing");
    EXPECT_TRUE(same_pixels(bmpExpected, s_pFirst->bmpScreen));
    destroy_bitmap(bmpExpected);
}

// ---------------------------------------------------------------- cells and heights

TEST(Planet, FreshCellsAndPlanet)
{
    std::unique_ptr<PLANET> pPlanet(new PLANET());
    EXPECT_EQ(200, pPlanet->iHot_column);
    EXPECT_EQ(0, pPlanet->iLabel_count);
    EXPECT_TRUE(pPlanet->bmpImage == nullptr);
    EXPECT_TRUE(pPlanet->bmpNoise == nullptr);
    EXPECT_TRUE(pPlanet->bmpLabels == nullptr);
    EXPECT_FALSE(pPlanet->forest);
    const CELL* c = pPlanet->get_cell(639, 479);
    EXPECT_EQ(0, c->iHeight);
    EXPECT_EQ(1, c->iKind);
    EXPECT_EQ(-1, c->iLandmass);
    EXPECT_EQ(0, c->bRiver + c->bForest + c->bDesert);
    // Column-major: a column's rows lie next to each other.
    EXPECT_EQ(pPlanet->get_cell(3, 0) + 1, pPlanet->get_cell(3, 1));
    EXPECT_EQ(pPlanet->get_cell(3, 479) + 1, pPlanet->get_cell(4, 0));

    CELL cCopy;
    CELL cSource = *c;
    cSource.iHeight = 7000;
    cSource.bDesert = 1;
    CELL::copy(&cCopy, &cSource);
    EXPECT_EQ(7000, cCopy.iHeight);
    EXPECT_EQ(1, cCopy.bDesert);
}

TEST(Planet, ApplyHeight)
{
    std::unique_ptr<PLANET> pPlanet = make_planet();
    PLANET& p = *pPlanet;
    // Off the grid and tiny amounts change nothing.
    EXPECT_FALSE(p.apply_height(-1, 10, 1000, 5));
    EXPECT_FALSE(p.apply_height(640, 10, 1000, 5));
    EXPECT_FALSE(p.apply_height(10, -1, 1000, 5));
    EXPECT_FALSE(p.apply_height(10, 480, 1000, 5));
    EXPECT_FALSE(p.apply_height(10, 10, 14, 5));
    EXPECT_FALSE(p.apply_height(10, 10, -14, 5));
    EXPECT_EQ(0, p.aCells[10][10].iHeight);
    EXPECT_TRUE(p.apply_height(10, 10, 15, 5));
    EXPECT_TRUE(p.apply_height(11, 10, -15, 5));
    EXPECT_EQ(15, p.aCells[10][10].iHeight);
    EXPECT_EQ(-15, p.aCells[11][10].iHeight);

    // The kind roll from 2500 up; kind 1 below.
    EXPECT_TRUE(p.apply_height(20, 20, 2500, 42));
    EXPECT_EQ(42, p.aCells[20][20].iKind);
    EXPECT_TRUE(p.apply_height(21, 20, 2499, 42));
    EXPECT_EQ(1, p.aCells[21][20].iKind);

    // Clamped however often it is raised.
    for (int i = 0; i < 5; i++)
    {
        p.apply_height(30, 30, 20000, 7);
        p.apply_height(31, 30, -20000, 7);
    }
    EXPECT_EQ(25000, p.aCells[30][30].iHeight);
    EXPECT_EQ(-25000, p.aCells[31][30].iHeight);
    EXPECT_TRUE(p.apply_height(30, 30, -20000, 7));
    EXPECT_EQ(5000, p.aCells[30][30].iHeight);
}

TEST(Planet, SpreadWrapsAtTheSeam)
{
    std::unique_ptr<PLANET> pPlanet = make_planet();
    random_seed(1);
    pPlanet->raise_spot(639, 240, 6000, 0.9f);
    EXPECT_EQ(1, random_draw_count());
    const PLANET& p = *pPlanet;
    EXPECT_EQ(6000, height(p, 639, 240));
    EXPECT_EQ(5400, height(p, 0, 240));
    EXPECT_EQ(4860, height(p, 1, 240));
    EXPECT_EQ(5400, height(p, 638, 240));
    EXPECT_EQ(5400, height(p, 639, 241));
    EXPECT_EQ(5400, height(p, 639, 239));
    EXPECT_EQ(4860, height(p, 0, 241));
    EXPECT_EQ(4860, height(p, 0, 239));
    EXPECT_EQ(4374, height(p, 1, 239));
    EXPECT_EQ(height(p, 10, 235), height(p, 628, 245));   // plus-shaped and symmetric
    // Every changed cell got the spot's kind roll or kind 1.
    int iKind = p.get_cell(639, 240)->iKind;
    EXPECT_EQ(iKind, p.get_cell(1, 239)->iKind);

    // The arms stop once the amount falls below 15.
    int iRow = 0;
    for (int x = 0; x < WORLD_WIDTH; x++)
        iRow += height(p, x, 240) != 0;
    EXPECT_GT(iRow, 100);
    EXPECT_LT(iRow, 200);
}

TEST(Planet, SpreadAtTheRowsAndPolarBands)
{
    struct CASE
    {
        int y;           // spot row, amount 1000, decay 0.9
        int iCheck_y;
        int iExpected;
    };
    const CASE a_Cases[] = {
        {0, 1, 900},      // row 0 sends no arm north, the south arm runs
        {100, 99, 855},   // north of row 100: damped by 0.95
        {100, 101, 900},
        {120, 119, 891},  // rows 100..139: damped by 0.99
        {140, 139, 891},
        {141, 140, 900},
        {340, 341, 891},  // rows 341..380: damped by 0.99
        {340, 339, 900},
        {380, 381, 855},  // from row 381: damped by 0.95
        {380, 379, 900},
        {479, 478, 900},  // row 479 sends no arm south
    };
    for (const CASE& c : a_Cases)
    {
        SCOPED_TRACE(c.y);
        std::unique_ptr<PLANET> pPlanet = make_planet();
        random_seed(1);
        pPlanet->raise_spot(300, c.y, 1000, 0.9f);
        EXPECT_EQ(1000, height(*pPlanet, 300, c.y));
        EXPECT_EQ(c.iExpected, height(*pPlanet, 300, c.iCheck_y));
        // No north-south wrap.
        if (c.y == 0)
        {
            EXPECT_EQ(0, height(*pPlanet, 300, 479));
        }
        if (c.y == 479)
        {
            EXPECT_EQ(0, height(*pPlanet, 300, 0));
        }
    }
}

TEST(Planet, TinySpotsChangeNothingButDraw)
{
    for (int iAmount : {14, -14, 10, -10})
    {
        std::unique_ptr<PLANET> pPlanet = make_planet();
        random_seed(5);
        pPlanet->raise_spot(300, 200, iAmount, 0.9f);
        EXPECT_EQ(1, random_draw_count());
        EXPECT_EQ(0, height(*pPlanet, 300, 200));
    }
    // Off the grid: the kind roll is still drawn.
    std::unique_ptr<PLANET> pPlanet = make_planet();
    random_seed(5);
    pPlanet->raise_spot(300, -30, 5000, 0.95f);
    EXPECT_EQ(1, random_draw_count());
    EXPECT_EQ(0, height(*pPlanet, 300, 0));
}

TEST(Planet, TheWidestSpotFinishesWithoutItsArmsMeeting)
{
    std::unique_ptr<PLANET> pPlanet = make_planet();
    random_seed(1);
    pPlanet->raise_spot(320, 240, 6259, 0.984f);
    int iRow = 0;
    for (int x = 0; x < WORLD_WIDTH; x++)
        iRow += height(*pPlanet, x, 240) != 0;
    EXPECT_GT(iRow, 400);
    EXPECT_LT(iRow, 640);
    // Arms of one spot never meet: the cell opposite the centre is untouched.
    EXPECT_EQ(0, height(*pPlanet, 0, 240));
}

namespace
{
// The spread as plain depth-first recursion, one call per cell in the order right, left,
// down, up, to hold the planet's own traversal against. Only apply_height is shared.
int decayed(int a, float decay)
{
    return (int)(a * decay);
}

void reference_up(PLANET& p, int x, int y, int a, float decay, int kind)
{
    if (y >= 100 && y < 140)
        a = (int)(a * 0.99);
    else if (y < 100)
        a = (int)(a * 0.95);
    if (y < 0 || !p.apply_height(x, y, a, kind))
        return;
    reference_up(p, x, y - 1, decayed(a, decay), decay, kind);
}

void reference_down(PLANET& p, int x, int y, int a, float decay, int kind)
{
    if (y > 340 && y <= 380)
        a = (int)(a * 0.99);
    else if (y > 380)
        a = (int)(a * 0.95);
    if (y >= 480 || !p.apply_height(x, y, a, kind))
        return;
    reference_down(p, x, y + 1, decayed(a, decay), decay, kind);
}

void reference_row(PLANET& p, int x, int y, int a, float decay, int kind, int step)
{
    if (x == 640)
        x = 0;
    if (x == -1)
        x = 639;
    if (!p.apply_height(x, y, a, kind))
        return;
    int iNext = decayed(a, decay);
    reference_down(p, x, y + 1, iNext, decay, kind);
    reference_up(p, x, y - 1, iNext, decay, kind);
    reference_row(p, x + step, y, iNext, decay, kind, step);
}

void reference_spot(PLANET& p, int x, int y, int a, float decay, int kind)
{
    if (!p.apply_height(x, y, a, kind))
        return;
    int iNext = decayed(a, decay);
    reference_row(p, x + 1, y, iNext, decay, kind, 1);
    reference_row(p, x - 1, y, iNext, decay, kind, -1);
    reference_down(p, x, y + 1, iNext, decay, kind);
    reference_up(p, x, y - 1, iNext, decay, kind);
}
}

TEST(Planet, SpreadMatchesDepthFirstRecursion)
{
    std::unique_ptr<PLANET> pPlanet = make_planet();
    std::unique_ptr<PLANET> pReference = make_planet();
    // Overlapping spots of every size, rows near the poles included, raising and digging.
    std::vector<int> d = draws_of(99, 400 * 5);
    for (int i = 0; i < 400; i++)
    {
        int x = d[i * 5] % 640;
        int y = d[i * 5 + 1] % 500 - 10;
        int a = (10 + d[i * 5 + 2] % 6250) * (i % 3 == 0 ? -1 : 1);
        float fDecay = (d[i * 5 + 3] % 200) / 1000.0f + 0.785f;
        int iKind = d[i * 5 + 4] % 100;
        random_seed(iKind);
        pPlanet->raise_spot(x, y, a, fDecay);
        random_seed(iKind);
        reference_spot(*pReference, x, y, a, fDecay, random_next() % 100);
        // The single arms on their own, across the polar bands.
        if (i % 4 == 0)
        {
            pPlanet->spread_up(x, y, a, fDecay, iKind);
            reference_up(*pReference, x, y, a, fDecay, iKind);
            pPlanet->spread_down(x, y, a, fDecay, iKind);
            reference_down(*pReference, x, y, a, fDecay, iKind);
        }
    }
    for (int x = 0; x < WORLD_WIDTH; x++)
        for (int y = 0; y < WORLD_HEIGHT; y++)
        {
            ASSERT_EQ(pReference->aCells[x][y].iHeight, pPlanet->aCells[x][y].iHeight) << x << "," << y;
            ASSERT_EQ(pReference->aCells[x][y].iKind, pPlanet->aCells[x][y].iKind) << x << "," << y;
        }
}

TEST(Planet, MountainWalk)
{
    // No centre yet: a fresh one and five draws.
    for (unsigned int s = 1; s <= 20; s++)
    {
        std::vector<int> d = draws_of(s, 2);
        std::unique_ptr<PLANET> pPlanet = make_planet();
        random_seed(s);
        int x = 0;
        int y = 0;
        pPlanet->make_mountain(x, y);
        EXPECT_EQ(5, random_draw_count());
        EXPECT_EQ(224 + d[0] % 415, x);
        EXPECT_EQ(168 + d[1] % 311, y);
    }

    // A walk that lands on (0, 0) starts afresh at the next spot.
    unsigned int s = seed_where(5, [](const std::vector<int>& d) {
        return d[0] % 100 < 95 && d[1] % 100 >= 20 && d[2] % 55 - d[3] % 55 == -3 &&
               d[4] % 100 < 50;
    });
    std::unique_ptr<PLANET> pPlanet = make_planet();
    random_seed(s);
    int x = 3;
    int y = 0;
    pPlanet->make_mountain(x, y);
    EXPECT_EQ(0, x);
    EXPECT_EQ(0, y);
    EXPECT_EQ(8, random_draw_count());
    long long llBefore = random_draw_count();
    pPlanet->make_mountain(x, y);
    EXPECT_EQ(5, random_draw_count() - llBefore);
    EXPECT_GE(x, 224);
    EXPECT_GE(y, 168);

    // A centre off the grid raises nothing, and the walk goes on from it.
    std::unique_ptr<PLANET> pFlat = make_planet();
    unsigned int sWalk = seed_where(1, [](const std::vector<int>& d) { return d[0] % 100 < 95; });
    random_seed(sWalk);
    x = 300;
    y = -200;
    pFlat->make_mountain(x, y);
    EXPECT_LE(y, -146);
    for (int iX = 0; iX < WORLD_WIDTH; iX++)
        for (int iY = 0; iY < WORLD_HEIGHT; iY++)
            ASSERT_EQ(0, height(*pFlat, iX, iY));
}

TEST(Planet, HoleWalk)
{
    // Depth 5001..5009 digs exactly 5000.
    unsigned int s = seed_where(3, [](const std::vector<int>& d) { return d[2] % 5000 >= 4991; });
    std::vector<int> d = draws_of(s, 2);
    std::unique_ptr<PLANET> pPlanet = make_planet();
    random_seed(s);
    int x = 0;
    int y = 0;
    pPlanet->make_hole(x, y);
    EXPECT_EQ(5, random_draw_count());
    EXPECT_EQ(d[0] % 640, x);
    EXPECT_EQ(d[1] % 480, y);
    EXPECT_EQ(-5000, height(*pPlanet, x, y));

    // A walk from a centre off the grid comes back onto it.
    for (unsigned int seed = 1; seed <= 30; seed++)
    {
        random_seed(seed);
        int iX = 300;
        int iY = 700;
        pPlanet->make_hole(iX, iY);
        EXPECT_GE(iY, 0);
        EXPECT_LT(iY, 480);
        EXPECT_GE(iX, 0);
        EXPECT_LT(iX, 640);
    }
}

TEST(Planet, WrapDistance)
{
    EXPECT_EQ(1, PLANET::wrap_distance(0, 639));
    EXPECT_EQ(1, PLANET::wrap_distance(639, 0));
    EXPECT_EQ(320, PLANET::wrap_distance(0, 320));
    EXPECT_EQ(319, PLANET::wrap_distance(0, 321));
    EXPECT_EQ(0, PLANET::wrap_distance(200, 200));
}

// ---------------------------------------------------------------- noise and temperature

TEST(Planet, ClimateNoise)
{
    std::vector<int> d = draws_of(77, 1);
    std::unique_ptr<PLANET> pPlanet = make_planet();
    random_seed(77);
    pPlanet->make_climate_noise();
    EXPECT_EQ(1 + 5 * (50 + d[0] % 49), random_draw_count());
    int iGreen_pixels = 0;
    for (int x = 0; x < WORLD_WIDTH; x++)
        for (int y = 0; y < WORLD_HEIGHT; y++)
        {
            int c = getpixel(pPlanet->bmpNoise, x, y);
            ASSERT_EQ(0, colour_red(c));
            ASSERT_EQ(0, colour_blue(c));
            if (c != BLACK)
            {
                iGreen_pixels++;
                ASSERT_GE(colour_green(c), 35);
            }
        }
    EXPECT_GT(iGreen_pixels, 0);
}

TEST(Planet, NoiseWrapsAcrossTheSeam)
{
    const int iGreen = make_colour(0, 90, 0);
    const int iOther = make_colour(0, 200, 0);
    // 32 bits is the game's depth; others take the plain pixel calls.
    for (int iDepth : {32, 16})
    {
        SCOPED_TRACE(iDepth);
        BITMAP* bmpScratch = create_bitmap_ex(iDepth, 840, 680);
        clear_to_color(bmpScratch, BLACK);
        circlefill(bmpScratch, 735, 300, 20, iGreen);   // crosses the right edge of the middle
        circlefill(bmpScratch, 105, 400, 20, iOther);   // crosses the left edge
        circlefill(bmpScratch, 125, 300, 3, iOther);    // beyond the copied strip
        PLANET::wrap_noise_margins(bmpScratch);
        // Right margin x 740..755 shows again at 100..115, over what was there.
        EXPECT_EQ(iGreen, getpixel(bmpScratch, 105, 300));
        EXPECT_EQ(BLACK, getpixel(bmpScratch, 116, 300));
        EXPECT_EQ(iOther, getpixel(bmpScratch, 125, 300));
        // Left margin x 85..99 shows again at 725..739.
        EXPECT_EQ(iOther, getpixel(bmpScratch, 730, 400));
        EXPECT_EQ(BLACK, getpixel(bmpScratch, 720, 400));
        // Black margins do not erase.
        EXPECT_EQ(iGreen, getpixel(bmpScratch, 725, 300));
        destroy_bitmap(bmpScratch);
    }
}

TEST(Planet, TemperaturePass)
{
    std::unique_ptr<PLANET> pPlanet = make_planet();
    random_seed(4);
    pPlanet->make_climate_noise();
    pPlanet->aCells[10][0].iHeight = 9000;
    pPlanet->aCells[600][470].iHeight = -3000;
    // A climate without random spread, so every temperature is fixed by its cell.
    pPlanet->cClimate.fBase = 120.0f;
    pPlanet->cClimate.fSpread = 0.0f;
    pPlanet->cClimate.fPole_drop = 100.0f;
    pPlanet->cClimate.iOffset = 30;
    CLIMATE cCheck = pPlanet->cClimate;

    random_seed(8);
    std::vector<int> d = draws_of(8, 1);
    random_seed(8);
    pPlanet->calculate_temperature();
    EXPECT_EQ(1 + 640 * 480, random_draw_count());
    EXPECT_EQ(d[0] % 640, pPlanet->iHot_column);
    struct POINT
    {
        int x, y;
    };
    for (POINT pt : {POINT{10, 0}, POINT{600, 470}, POINT{320, 240}, POINT{0, 479}})
    {
        const CELL* c = pPlanet->get_cell(pt.x, pt.y);
        int iExpected = cCheck.pixel_temperature(0, std::abs(240 - pt.y),
                                                 getpixel(pPlanet->bmpNoise, pt.x, pt.y),
                                                 (float)c->iHeight);
        EXPECT_EQ((float)iExpected, c->fTemperature) << pt.x << "," << pt.y;
    }
    // The equator is warmer than the poles.
    EXPECT_GT(pPlanet->get_cell(5, 240)->fTemperature, pPlanet->get_cell(5, 0)->fTemperature + 50);
}

// ---------------------------------------------------------------- rendering

TEST(Planet, ClampEvaluatesItsExpressionUpToFourTimes)
{
    struct CASE
    {
        std::vector<float> a_Values;
        float fResult;
        int iEvaluations;
    };
    const CASE a_Cases[] = {
        {{10, 20, 30, 40}, 40, 4},      // the usual case takes the fourth value
        {{300, 10, 20}, 20, 3},         // first reaches 255: the second is skipped
        {{300, 300}, 255, 2},
        {{10, 300, 300}, 255, 3},
        {{10, -5}, 0, 2},               // the second value is below 0
        {{-5, -5}, 0, 2},
        {{254, 254, 254, 254}, 254, 4},
        {{255, 255}, 255, 2},
    };
    for (const CASE& c : a_Cases)
    {
        size_t iNext = 0;
        float fResult = PLANET::clamp_channel([&] { return c.a_Values.at(iNext++); });
        EXPECT_EQ(c.fResult, fResult);
        EXPECT_EQ((size_t)c.iEvaluations, iNext);
    }
}

TEST(Planet, DiscIsTheRadiusTwoCircle)
{
    for (int x = -3; x <= 10; x++)
    {
        for (int y = -3; y <= 9; y++)
        {
            BITMAP* bmpExpected = make_test_bitmap(8, 7, BLACK);
            BITMAP* bmpActual = make_test_bitmap(8, 7, BLACK);
            circlefill(bmpExpected, x, y, 2, CORNSILK);
            PLANET::fill_disc(bmpActual, x, y, CORNSILK);
            EXPECT_TRUE(same_pixels(bmpExpected, bmpActual)) << x << "," << y;
            destroy_bitmap(bmpExpected);
            destroy_bitmap(bmpActual);
        }
    }
}

TEST(Planet, Shade)
{
    struct CASE
    {
        int x, y, h, iNorth_west;
        float fShade;
    };
    const CASE a_Cases[] = {
        {5, 5, 6000, 6500, 1.0f},      // exactly 500 below
        {5, 5, 6000, 6501, 0.95f},
        {5, 5, 5000, 9000, 1.0f},      // sea level is never shaded
        {0, 5, 6000, 9000, 1.0f},      // column 0
        {5, 0, 6000, 9000, 1.0f},      // row 0
        {5, 5, 15000, 15100, 1.0f},    // peaks: 100 below is not enough
        {5, 5, 15000, 15101, 0.95f},
        {5, 5, 14001, 14102, 0.95f},
        {5, 5, 14000, 14101, 1.0f},    // 14000 is on the land rule only
        {5, 5, 14000, 14501, 0.95f},
    };
    for (const CASE& c : a_Cases)
    {
        std::unique_ptr<PLANET> pPlanet = make_planet();
        pPlanet->aCells[c.x][c.y].iHeight = c.h;
        if (c.x > 0 && c.y > 0)
            pPlanet->aCells[c.x - 1][c.y - 1].iHeight = c.iNorth_west;
        EXPECT_EQ(c.fShade, pPlanet->shade(c.x, c.y)) << c.h << " under " << c.iNorth_west;
    }
}

TEST(Planet, BandDrawCountsAtTheBandEdges)
{
    struct CASE
    {
        int h;
        float T;
        int iDraws;
        bool bDesert;
    };
    const CASE a_Cases[] = {
        {4899, 50, 0, false},    // deep water
        {4900, 50, 2, false},    // shallow water
        {4999, 50, 2, false},
        {5000, 50, 2, false},    // shore
        {5299, 200, 2, false},   // shore never turns desert
        {5300, 98, 6, false},    // lowland, temperate colours
        {10049, 98, 6, false},
        {5300, 105, 9, true},    // lowland desert
        {5300, 0, 20, false},    // lowland cold colours
        {10050, 105, 10, true},  // highland desert
        {13999, 0, 6, false},    // highland cold colours
        {14000, 50, 19, false},  // peaks
        {14000, 200, 19, false}, // peaks never turn desert
    };
    for (const CASE& c : a_Cases)
    {
        SCOPED_TRACE(c.h);
        std::unique_ptr<PLANET> pPlanet = make_planet();
        no_zones(pPlanet.get());
        pPlanet->aCells[100][100].iHeight = c.h;
        pPlanet->aCells[100][100].fTemperature = c.T;
        random_seed(11);
        pPlanet->paint_band(100, 100, 5000);
        EXPECT_EQ(c.iDraws, random_draw_count());
        EXPECT_EQ(c.bDesert, pPlanet->aCells[100][100].bDesert != 0);
        EXPECT_EQ(0, pPlanet->aCells[100][100].bForest);
    }
}

TEST(Planet, BandColours)
{
    std::unique_ptr<PLANET> pPlanet = make_planet();
    no_zones(pPlanet.get());
    PLANET& p = *pPlanet;
    auto paint = [&](int h, float T, unsigned int seed) {
        p.aCells[50][50].iHeight = h;
        p.aCells[50][50].fTemperature = T;
        random_seed(seed);
        p.paint_band(50, 50, 5000);
        return image_pixel(&p, 50, 50);
    };
    EXPECT_EQ(make_colour(0, 0, 45), paint(0, 50, 1));
    EXPECT_EQ(make_colour(0, 3, 94), paint(4899, 50, 1));
    EXPECT_EQ(make_colour(0, 0, 41), paint(-1500, 50, 1));   // below 0 darkens a fifth as fast

    std::vector<int> d = draws_of(3, 6);
    EXPECT_EQ(make_colour(50 + d[1] % 50, 130 + d[0] % 50, 210), paint(4950, 50, 3));
    EXPECT_EQ(make_colour(157 - d[1] % 30, 129 - d[0] % 30, 94), paint(5000, 50, 3));

    // Temperate lowland at 5300: desert test, cold test and r100 come first. T 98 never
    // takes the forest colour.
    EXPECT_EQ(make_colour(49 - d[5] % 10, 62 - d[4] % 10, 27 - d[3] % 10), paint(5300, 98, 3));

    // Highland rock at 10050: r100 is drawn first; it must not pick the forest colour.
    unsigned int s = seed_where(1, [](const std::vector<int>& a) { return a[0] % 100 <= 94; });
    std::vector<int> e = draws_of(s, 6);
    EXPECT_EQ(make_colour(128 - e[5] % 10, 110 - e[4] % 10, 64 - e[3] % 10), paint(10050, 60, s));
}

TEST(Planet, DesertAndColdWindows)
{
    struct CASE
    {
        int h;
        float T;
        int iDeserts;   // out of 40 seeds: 40 always, 0 never, -1 sometimes
    };
    const CASE a_Cases[] = {
        {6000, 105, 40}, {6000, 98, 0}, {6000, 102, -1},
        {12000, 105, 40}, {12000, 88, 0}, {12000, 96, -1},
    };
    for (const CASE& c : a_Cases)
    {
        int iDeserts = 0;
        for (unsigned int s = 1; s <= 40; s++)
        {
            std::unique_ptr<PLANET> pPlanet = make_planet();
            no_zones(pPlanet.get());
            pPlanet->aCells[50][50].iHeight = c.h;
            pPlanet->aCells[50][50].fTemperature = c.T;
            random_seed(s);
            pPlanet->paint_band(50, 50, 5000);
            iDeserts += pPlanet->aCells[50][50].bDesert;
        }
        if (c.iDeserts < 0)
        {
            EXPECT_GT(iDeserts, 0) << c.h << " at " << c.T;
            EXPECT_LT(iDeserts, 40) << c.h << " at " << c.T;
        }
        else
            EXPECT_EQ(c.iDeserts, iDeserts) << c.h << " at " << c.T;
    }

    // Peaks: below 38 always the cold (bluer) snow, from 45 always the warm rock.
    for (unsigned int s = 1; s <= 30; s++)
    {
        for (float T : {37.0f, 45.0f})
        {
            std::unique_ptr<PLANET> pPlanet = make_planet();
            pPlanet->aCells[50][50].iHeight = 20000;
            pPlanet->aCells[50][50].fTemperature = T;
            random_seed(s);
            pPlanet->paint_band(50, 50, 5000);
            int b = colour_blue(image_pixel(pPlanet.get(), 50, 50));
            if (T < 38)
                EXPECT_TRUE(b >= 146 && b <= 164) << b;
            else
                EXPECT_TRUE(b >= 108 && b <= 126) << b;
        }
    }
}

TEST(Planet, ForestZones)
{
    std::unique_ptr<PLANET> pPlanet = make_planet();
    PLANET& p = *pPlanet;
    no_zones(&p);
    // The cell (100, 100) lies in zones 0, 5 and 29.
    for (int i : {0, 5, 29})
    {
        p.forestx[i] = 104;
        p.foresty[i] = 102;
        p.forest_range[i] = 10.0f;
    }
    p.aCells[100][100].iHeight = 6000;
    p.aCells[100][100].fTemperature = 102;
    // Six radius draws come before the desert test.
    std::vector<int> d = draws_of(21, 7);
    random_seed(21);
    p.paint_band(100, 100, 5000);
    EXPECT_TRUE(p.forest);
    EXPECT_EQ(1, p.aCells[100][100].bForest);
    EXPECT_EQ(d[6] % 7 >= 3, p.aCells[100][100].bDesert == 1);
    EXPECT_EQ(10.0f + d[0] % 2 - d[1] % 2, p.forest_range[0]);
    EXPECT_EQ(10.0f + d[2] % 2 - d[3] % 2, p.forest_range[5]);
    EXPECT_EQ(10.0f + d[4] % 2 - d[5] % 2, p.forest_range[29]);

    // Zones are ellipses twice as wide as high, halved toward zero, and do not wrap.
    struct CASE
    {
        int x, y;
        bool bInside;
    };
    const CASE a_Cases[] = {
        {318, 200, true},   // dx (318 - 300) / 2 = 9
        {320, 200, false},  // 10 is not inside a radius of 10
        {281, 200, true},   // -19 / 2 = -9
        {279, 200, false},
        {300, 209, true},
        {300, 210, false},
        {5, 200, false},    // the zone at 635 does not reach across the seam
    };
    for (const CASE& c : a_Cases)
    {
        std::unique_ptr<PLANET> pZoned = make_planet();
        no_zones(pZoned.get());
        pZoned->forestx[3] = 300;
        pZoned->foresty[3] = 200;
        pZoned->forest_range[3] = 10.0f;
        pZoned->forestx[4] = 635;
        pZoned->foresty[4] = 200;
        pZoned->forest_range[4] = 10.0f;
        pZoned->aCells[c.x][c.y].iHeight = 6000;
        pZoned->aCells[c.x][c.y].fTemperature = 60;
        random_seed(2);
        pZoned->paint_band(c.x, c.y, 5000);
        EXPECT_EQ(c.bInside, pZoned->aCells[c.x][c.y].bForest == 1) << c.x << "," << c.y;
        EXPECT_EQ(c.bInside, pZoned->forest) << c.x << "," << c.y;
    }

    // Highland and other bands never test the zones.
    for (int h : {12000, 5200, 16000})
    {
        std::unique_ptr<PLANET> pHigh = make_planet();
        pHigh->forestx[0] = 50;
        pHigh->foresty[0] = 50;
        pHigh->forest_range[0] = 30.0f;
        pHigh->aCells[50][50].iHeight = h;
        random_seed(2);
        pHigh->paint_band(50, 50, 5000);
        EXPECT_EQ(0, pHigh->aCells[50][50].bForest) << h;
        EXPECT_EQ(30.0f, pHigh->forest_range[0]);
    }
}

TEST(Planet, HighlandReadsTheForestFlagOfTheLatestLowlandCell)
{
    // r100 of 81..98: the temperate highland takes the forest colour only under a forest.
    unsigned int s = seed_where(1, [](const std::vector<int>& d) {
        return d[0] % 100 > 80 && d[0] % 100 <= 98;
    });
    std::unique_ptr<PLANET> pPlanet = make_planet();
    PLANET& p = *pPlanet;
    no_zones(&p);
    p.aCells[60][60].iHeight = 13000;
    p.aCells[60][60].fTemperature = 60;

    // Before any lowland cell the flag is false: rock colours.
    random_seed(s);
    p.paint_band(60, 60, 5000);
    EXPECT_EQ(6, random_draw_count());
    EXPECT_NE(make_colour(0, 54, 0), image_pixel(&p, 60, 60));

    // A lowland cell inside a zone sets it.
    p.forestx[0] = 200;
    p.foresty[0] = 200;
    p.forest_range[0] = 5.0f;
    p.aCells[200][200].iHeight = 6000;
    p.aCells[200][200].fTemperature = 60;
    p.paint_band(200, 200, 5000);
    ASSERT_TRUE(p.forest);
    random_seed(s);
    p.paint_band(60, 60, 5000);
    EXPECT_EQ(3, random_draw_count());
    EXPECT_EQ(make_colour(0, 54, 0), image_pixel(&p, 60, 60));

    // A lowland cell outside every zone clears it again.
    p.aCells[400][400].iHeight = 6000;
    p.aCells[400][400].fTemperature = 60;
    p.paint_band(400, 400, 5000);
    EXPECT_FALSE(p.forest);

    // Each render pass starts with the flag false.
    p.forest = true;
    set_heights(&p, 0);
    p.render(640, 480);
    EXPECT_FALSE(p.forest);
}

TEST(Planet, RiverColourAndDraws)
{
    std::unique_ptr<PLANET> pPlanet = make_planet();
    PLANET& p = *pPlanet;
    p.aCells[70][70].iHeight = 6000;
    random_seed(13);
    p.paint_details(70, 70);
    long long llSpeckle_draws = random_draw_count();
    EXPECT_GE(llSpeckle_draws, 3);
    EXPECT_LE(llSpeckle_draws, 7);

    std::vector<int> d = draws_of(13, (int)llSpeckle_draws + 4);
    p.aCells[70][70].bRiver = 1;
    random_seed(13);
    p.paint_details(70, 70);
    EXPECT_EQ(llSpeckle_draws + 4, random_draw_count());
    // The clamped blue is evaluated four times and keeps the last draw.
    EXPECT_EQ(make_colour(10, 40, 74 + d[llSpeckle_draws + 3] % 45), image_pixel(&p, 70, 70));
    // Land marks itself and its fringe in the label map; sea at 5000 does not.
    EXPECT_EQ(1, getpixel(p.bmpLabels, 72, 70));
    EXPECT_EQ(0, getpixel(p.bmpLabels, 73, 70));
    p.aCells[200][200].iHeight = 5000;
    p.paint_details(200, 200);
    EXPECT_EQ(0, getpixel(p.bmpLabels, 200, 200));
}

TEST(Planet, RiverSources)
{
    // Without a cell from 8300 to 17000 there is no source: no rivers and no draws.
    for (int iHeight : {0, 8299, 17001})
    {
        std::unique_ptr<PLANET> pPlanet = make_planet();
        set_heights(pPlanet.get(), iHeight);
        random_seed(1);
        pPlanet->make_rivers(30);
        EXPECT_EQ(0, random_draw_count()) << iHeight;
        for (int x = 0; x < WORLD_WIDTH; x++)
            for (int y = 0; y < WORLD_HEIGHT; y++)
                ASSERT_EQ(0, pPlanet->aCells[x][y].bRiver);
    }

    // One source is found however long the search; the river ends at the sea beside it,
    // which it does not mark.
    for (int iHeight : {8300, 17000})
    {
        std::unique_ptr<PLANET> pPlanet = make_planet();
        pPlanet->aCells[200][150].iHeight = iHeight;
        random_seed(1);
        pPlanet->make_rivers(2);
        int iMarked = 0;
        for (int x = 0; x < WORLD_WIDTH; x++)
            for (int y = 0; y < WORLD_HEIGHT; y++)
                iMarked += pPlanet->aCells[x][y].bRiver;
        EXPECT_EQ(1, pPlanet->aCells[200][150].bRiver);
        // A branch could mark a sea cell it starts on; the main river marks only its source.
        EXPECT_LE(iMarked, 3);
    }
}

TEST(Planet, RiverEndsOnlyBelowSeaLevel)
{
    // At sea level exactly it flows on until its chance to end; one below, it ends at once.
    for (int iHeight : {5000, 4999})
    {
        std::unique_ptr<PLANET> pPlanet = make_planet();
        set_heights(pPlanet.get(), iHeight);
        random_seed(3);
        pPlanet->trace_river(300, 100);
        int iMarked = 0;
        for (int x = 0; x < WORLD_WIDTH; x++)
            for (int y = 0; y < WORLD_HEIGHT; y++)
                iMarked += pPlanet->aCells[x][y].bRiver;
        if (iHeight == 5000)
            EXPECT_GT(iMarked, 1);
        else
            EXPECT_EQ(1, iMarked);
    }
}

TEST(Planet, RiverWrapsWhenItMovesOffTheEdge)
{
    bool bCrossed = false;
    for (unsigned int s = 1; s <= 20; s++)
    {
        std::unique_ptr<PLANET> pPlanet = make_planet();
        set_heights(pPlanet.get(), 6000);
        random_seed(s);
        pPlanet->trace_river(0, 240);
        for (int x = 0; x < WORLD_WIDTH; x++)
            for (int y = 0; y < WORLD_HEIGHT; y++)
            {
                if (!pPlanet->aCells[x][y].bRiver)
                    continue;
                ASSERT_TRUE(x < 100 || x > 540) << "seed " << s << " at " << x;
                ASSERT_GE(y, 240);   // flat land: always south, drifting sideways
                bCrossed = bCrossed || x == 639;
            }
    }
    EXPECT_TRUE(bCrossed);

    // Starting positions wrap too; off the rows there is no river and no draw.
    std::unique_ptr<PLANET> pPlanet = make_planet();
    random_seed(1);
    pPlanet->trace_river(-1, 100);
    EXPECT_EQ(1, pPlanet->aCells[639][100].bRiver);
    pPlanet->trace_river(640, 100);
    EXPECT_EQ(1, pPlanet->aCells[0][100].bRiver);
    random_seed(1);
    pPlanet->trace_river(10, 480);
    pPlanet->trace_river(10, -1);
    EXPECT_EQ(0, random_draw_count());
}

// ---------------------------------------------------------------- landmasses

TEST(Planet, PlanetWithoutLandHasNoLandmass)
{
    SCREEN_STANDIN standin;
    std::unique_ptr<PLANET> pPlanet = make_planet();
    set_heights(pPlanet.get(), 5000);
    random_seed(1);
    pPlanet->render(640, 480);
    EXPECT_EQ(0, pPlanet->iLabel_count);
    for (int x = 0; x < WORLD_WIDTH; x++)
        for (int y = 0; y < WORLD_HEIGHT; y++)
            ASSERT_EQ(0, pPlanet->aCells[x][y].iLandmass);
}

TEST(Planet, IslandsAreLabelledInScanOrderWithTheirFringe)
{
    SCREEN_STANDIN standin;
    std::unique_ptr<PLANET> pPlanet = make_planet();
    PLANET& p = *pPlanet;
    fill_heights(&p, 300, 50, 310, 60, 6000);
    fill_heights(&p, 100, 100, 110, 110, 6000);
    fill_heights(&p, 100, 300, 101, 301, 5001);
    random_seed(1);
    p.render(640, 480);
    EXPECT_EQ(4, p.iLabel_count);
    EXPECT_EQ(2, p.aCells[105][105].iLandmass);
    EXPECT_EQ(3, p.aCells[100][300].iLandmass);
    EXPECT_EQ(4, p.aCells[305][55].iLandmass);
    EXPECT_EQ(2, p.aCells[98][105].iLandmass);   // two pixels of sea fringe
    EXPECT_EQ(0, p.aCells[97][105].iLandmass);
    EXPECT_EQ(2, p.aCells[99][98].iLandmass);
    EXPECT_EQ(0, p.aCells[98][98].iLandmass);    // the disc's corner
    EXPECT_EQ(0, p.aCells[200][200].iLandmass);
}

TEST(Planet, LandAcrossTheSeamIsOneLandmass)
{
    SCREEN_STANDIN standin;
    std::unique_ptr<PLANET> pPlanet = make_planet();
    PLANET& p = *pPlanet;
    // The lowest land there is, on both sides.
    fill_heights(&p, 630, 200, 639, 210, 5001);
    fill_heights(&p, 0, 200, 9, 210, 5001);
    random_seed(1);
    p.render(640, 480);
    EXPECT_EQ(3, p.iLabel_count);   // labels are not renumbered
    EXPECT_EQ(2, p.aCells[5][205].iLandmass);
    EXPECT_EQ(2, p.aCells[635][205].iLandmass);
    EXPECT_EQ(2, p.aCells[628][205].iLandmass);
    EXPECT_EQ(0, p.aCells[627][205].iLandmass);

    // Two left regions beside one right region: the right takes the label of the last row.
    std::unique_ptr<PLANET> pTwo = make_planet();
    fill_heights(pTwo.get(), 0, 100, 5, 110, 6000);
    fill_heights(pTwo.get(), 0, 300, 5, 310, 6000);
    fill_heights(pTwo.get(), 630, 100, 639, 310, 6000);
    random_seed(1);
    pTwo->render(640, 480);
    EXPECT_EQ(2, pTwo->aCells[2][105].iLandmass);
    EXPECT_EQ(3, pTwo->aCells[2][305].iLandmass);
    EXPECT_EQ(3, pTwo->aCells[635][105].iLandmass);
    EXPECT_EQ(3, pTwo->aCells[635][200].iLandmass);
}
