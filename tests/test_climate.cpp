#include <gtest/gtest.h>

#include <vector>

#include "framework/colours.h"
#include "framework/random.h"
#include "tests/headless.h"
#include "tests/planet_fixture.h"
#include "world/planet/climate.h"

namespace
{
// A seed whose first draw makes the world temperature g.
unsigned int seed_for_world_temperature(int g)
{
    return seed_where(1, [g](const std::vector<int>& d) { return 30 + d[0] % 200 == g; });
}

CLIMATE planet_climate()
{
    return CLIMATE(36, 6000.0f, 6.963e8f, 0.31f, 0.26f, 1.496e11f);
}

// A climate without random spread, so a cell's temperature is fixed by its arguments.
CLIMATE fixed_climate(float fBase, float fPole_drop, int iOffset)
{
    CLIMATE c;
    c.fBase = fBase;
    c.fPole_drop = fPole_drop;
    c.iOffset = iOffset;
    return c;
}
}

TEST(Climate, DefaultIsZero)
{
    CLIMATE c;
    EXPECT_EQ(0.0f, c.fBase);
    EXPECT_EQ(0.0f, c.fReserved);
    EXPECT_EQ(0.0f, c.fSpread);
    EXPECT_EQ(0.0f, c.fPole_drop);
    EXPECT_EQ(0, c.iOffset);
}

TEST(Climate, WorldTemperatureClassesAtTheirBorders)
{
    struct CASE
    {
        int g;
        const char* sLabel;
        int iOffset;
    };
    const CASE a_Cases[] = {
        {229, "World Temperature:  Ice Age", 0},
        {201, "World Temperature:  Ice Age", 0},
        {200, "World Temperature:  Cold", 30},
        {126, "World Temperature:  Cold", 30},
        {125, "World Temperature:  Temperate", 30},
        {96, "World Temperature:  Temperate", 30},
        // Between the tropical and the temperate worlds: shown as temperate.
        {95, "World Temperature:  Temperate", 30},
        {76, "World Temperature:  Temperate", 30},
        {75, "World Temperature:  Tropical", 30},
        {51, "World Temperature:  Tropical", 30},
        {50, "World Temperature:  Scorching hot!", 30},
        {49, "World Temperature:  Scorching hot!", 50},
        {30, "World Temperature:  Scorching hot!", 50},
    };
    for (const CASE& c : a_Cases)
    {
        SCOPED_TRACE(c.g);
        SCREEN_STANDIN standin;
        random_seed(seed_for_world_temperature(c.g));
        CLIMATE cClimate = planet_climate();
        EXPECT_EQ(1, random_draw_count());
        EXPECT_EQ(c.iOffset, cClimate.iOffset);
        EXPECT_NEAR((float)c.g, cClimate.fPole_drop, 1e-4);
        EXPECT_NEAR(20.0f, cClimate.fSpread, 1e-5);
        EXPECT_NEAR(125.83f, cClimate.fBase, 0.01);

        BITMAP* bmpExpected = make_test_bitmap(640, 480, BLACK);
        textprintf_ex(bmpExpected, font, 10, 0, WHITE, -1, "%s", c.sLabel);
        EXPECT_TRUE(same_pixels(bmpExpected, standin.bmp)) << c.sLabel;
        destroy_bitmap(bmpExpected);
    }
}

TEST(Climate, AlbedoAndFractionAboveOneAreOne)
{
    SCREEN_STANDIN standin;
    random_seed(1);
    // Albedo 1 and no fraction: no light is kept, only the warming remains.
    CLIMATE cAlbedo(36, 6000.0f, 6.963e8f, 2.5f, 0.0f, 1.496e11f);
    EXPECT_FLOAT_EQ(CLIMATE::kelvin_to_fahrenheit(36.0f) + 70.0f, cAlbedo.fBase);

    // Fraction 1 halves what is left of the light: as if the albedo were 0.5.
    CLIMATE cFraction(36, 6000.0f, 6.963e8f, 0.0f, 3.0f, 1.496e11f);
    CLIMATE cHalf(36, 6000.0f, 6.963e8f, 0.5f, 0.0f, 1.496e11f);
    EXPECT_FLOAT_EQ(cHalf.fBase, cFraction.fBase);

    // Nothing left to absorb: only the warming, not an undefined root.
    CLIMATE cNone(36, 6000.0f, 6.963e8f, 1.0f, 1.0f, 1.496e11f);
    EXPECT_FLOAT_EQ(CLIMATE::kelvin_to_fahrenheit(36.0f) + 70.0f, cNone.fBase);
    EXPECT_EQ(4, random_draw_count());
}

TEST(Climate, PixelTemperature)
{
    struct CASE
    {
        float fBase;
        float fPole_drop;
        int iOffset;
        int iLatitude;
        int iGreen;
        float fHeight;
        int iExpected;
    };
    const CASE a_Cases[] = {
        {100.0f, 0.0f, 0, 0, 0, 0.0f, 100},      // no green: factor exactly 1
        {100.0f, 0.0f, 0, 0, 55, 0.0f, 100},     // factor 1.0 at green 55
        {100.0f, 0.0f, 0, 0, 35, 0.0f, 101},     // 101.5: little green is warmer
        {100.0f, 0.0f, 0, 0, 254, 0.0f, 85},     // 85.075
        {100.0f, 0.0f, 0, 0, 0, 1000.0f, 96},    // 3.6 a thousand
        {100.0f, 0.0f, 0, 0, 0, 5000.0f, 82},    // lapse counted from 0, not sea level
        {100.0f, 0.0f, 0, 0, 0, -1000.0f, 103},  // below 0 is warmer
        {100.0f, 0.0f, 30, 0, 0, 0.0f, 130},
        {100.0f, 0.0f, 50, 0, 0, 1000.0f, 146},
        {100.0f, 120.0f, 0, 240, 0, 0.0f, -20},  // the pole
        {100.0f, 120.0f, 0, 120, 0, 0.0f, 40},
        {-0.5f, 0.0f, 0, 0, 0, 0.0f, 0},         // truncated toward zero
        {-1.5f, 0.0f, 0, 0, 0, 0.0f, -1},
    };
    for (const CASE& c : a_Cases)
    {
        SCOPED_TRACE(testing::Message() << c.fBase << " lat " << c.iLatitude << " green "
                                        << c.iGreen << " height " << c.fHeight);
        CLIMATE cClimate = fixed_climate(c.fBase, c.fPole_drop, c.iOffset);
        random_seed(3);
        EXPECT_EQ(c.iExpected, cClimate.pixel_temperature(200, c.iLatitude,
                                                          make_colour(0, c.iGreen, 0), c.fHeight));
        EXPECT_EQ(1, random_draw_count());
    }
}

TEST(Climate, SpreadTakesARandomShareOfUpTo639Of640)
{
    CLIMATE cClimate = fixed_climate(100.0f, 0.0f, 0);
    cClimate.fSpread = 20.0f;
    for (unsigned int s = 1; s <= 40; s++)
    {
        random_seed(s);
        int iDraw = random_next() % 640;
        random_seed(s);
        int iResult = cClimate.pixel_temperature(0, 0, BLACK, 0.0f);
        EXPECT_EQ((int)(100.0f - iDraw / 32.0f), iResult) << "draw " << iDraw;
        EXPECT_GE(iResult, 80);
    }
    // The hot distance does not count.
    random_seed(9);
    int iNear = cClimate.pixel_temperature(0, 10, BLACK, 0.0f);
    random_seed(9);
    EXPECT_EQ(iNear, cClimate.pixel_temperature(320, 10, BLACK, 0.0f));
}

TEST(Climate, UnitConversions)
{
    EXPECT_NEAR(32.0f, CLIMATE::kelvin_to_fahrenheit(273.15f), 1e-3);
    EXPECT_NEAR(0.0f, CLIMATE::kelvin_to_celsius(273.15f), 1e-4);
    EXPECT_NEAR(373.15f, CLIMATE::celsius_to_kelvin(100.0f), 1e-3);
    EXPECT_NEAR(273.15f, CLIMATE::fahrenheit_to_kelvin(32.0f), 1e-3);
    EXPECT_NEAR(100.0f, CLIMATE::fahrenheit_to_celsius(212.0f), 1e-4);
    EXPECT_NEAR(-40.0f, CLIMATE::celsius_to_fahrenheit(-40.0f), 1e-4);
}
