#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/random.h"
#include "tests/headless.h"
#include "tests/planet_digest.h"
#include "tests/planet_fixture.h"
#include "tests/planet_reference.h"
#include "world/planet/planet.h"

namespace
{
// Whole planets pinned stage by stage. The table was printed by
//     build/tests/planet_reference_digests 20261210 47 51
// from tests/planet_reference.cpp, a second generator written on its own, plainly and
// without the game's shortcuts, sharing no code with the game's planet. Where the game's planet differs, one of the two is wrong: find out which before
// changing a row. ReferenceStillGivesTheTable holds the reference to the table.
const PLANET_DIGEST EXPECTED[] = {
    {20261210u, "climate", "draws", 0x0000000000000001ull},
    {20261210u, "climate", "base", 0x0000000042fba94cull},
    {20261210u, "climate", "spread", 0x0000000041a00000ull},
    {20261210u, "climate", "pole drop", 0x00000000427bffffull},
    {20261210u, "climate", "offset", 0x000000000000001eull},
    {20261210u, "noise", "draws", 0x00000000000001abull},
    {20261210u, "noise", "noise map", 0xad1927249ff0c615ull},
    {20261210u, "mountains", "draws", 0x0000000000001232ull},
    {20261210u, "mountains", "heights", 0x43c1d74936df7664ull},
    {20261210u, "mountains", "kinds", 0xadd413d3417ba40bull},
    {20261210u, "holes", "draws", 0x0000000000001b70ull},
    {20261210u, "holes", "heights", 0x0e8c9d42dc96a63eull},
    {20261210u, "holes", "kinds", 0xbeeb2b1f9bba05daull},
    {20261210u, "temperature", "draws", 0x000000000004cb71ull},
    {20261210u, "temperature", "temperatures", 0x5404c2e2206527afull},
    {20261210u, "temperature", "hot column", 0x000000000000023full},
    {20261210u, "zones", "draws", 0x000000000004cbcbull},
    {20261210u, "zones", "zones", 0xe179f645dfe70cd3ull},
    {20261210u, "rivers", "draws", 0x000000000004e34bull},
    {20261210u, "rivers", "rivers", 0x0786c5ac268b54e5ull},
    {20261210u, "colours", "draws", 0x000000000018ba8eull},
    {20261210u, "colours", "image", 0x0d8c7cebc156543dull},
    {20261210u, "colours", "land mask", 0xce44bbd4afb19c14ull},
    {20261210u, "colours", "forests", 0x5a1fcf4708818984ull},
    {20261210u, "colours", "deserts", 0x562971baa3d25214ull},
    {20261210u, "colours", "zone radii", 0x59ac65c3c299c051ull},
    {20261210u, "landmasses", "draws", 0x000000000018ba8eull},
    {20261210u, "landmasses", "label map", 0x115af2d42feea66aull},
    {20261210u, "landmasses", "landmass labels", 0x94e29c593217d51bull},
    {20261210u, "landmasses", "label count", 0x0000000000000028ull},
    {20261210u, "landmasses", "reserved", 0xf318e0e2f9b92325ull},
    {47u, "climate", "draws", 0x0000000000000001ull},
    {47u, "climate", "base", 0x0000000042fba94cull},
    {47u, "climate", "spread", 0x0000000041a00000ull},
    {47u, "climate", "pole drop", 0x00000000435dffffull},
    {47u, "climate", "offset", 0x0000000000000000ull},
    {47u, "noise", "draws", 0x000000000000012eull},
    {47u, "noise", "noise map", 0x94c37f61bf28d303ull},
    {47u, "mountains", "draws", 0x00000000000011d5ull},
    {47u, "mountains", "heights", 0xcae2c912cb72d269ull},
    {47u, "mountains", "kinds", 0xb1915d6d45514b40ull},
    {47u, "holes", "draws", 0x0000000000001b0bull},
    {47u, "holes", "heights", 0x12fdde944e12ea4eull},
    {47u, "holes", "kinds", 0x23c723fb8739b09bull},
    {47u, "temperature", "draws", 0x000000000004cb0cull},
    {47u, "temperature", "temperatures", 0x64b7fc818fe07cb2ull},
    {47u, "temperature", "hot column", 0x0000000000000142ull},
    {47u, "zones", "draws", 0x000000000004cb66ull},
    {47u, "zones", "zones", 0x3097b802eed14b52ull},
    {47u, "rivers", "draws", 0x000000000005474eull},
    {47u, "rivers", "rivers", 0x3bd741f94de9e304ull},
    {47u, "colours", "draws", 0x000000000022af1aull},
    {47u, "colours", "image", 0xf80fae29ae2dfaa8ull},
    {47u, "colours", "land mask", 0x589ef333cfb7e895ull},
    {47u, "colours", "forests", 0x77fef38d0fbe9805ull},
    {47u, "colours", "deserts", 0xd54f5f23b13ec424ull},
    {47u, "colours", "zone radii", 0x4143e33e1eb2f246ull},
    {47u, "landmasses", "draws", 0x000000000022af1aull},
    {47u, "landmasses", "label map", 0xe2c73282ab102f59ull},
    {47u, "landmasses", "landmass labels", 0x35ffaf8caa2d5f98ull},
    {47u, "landmasses", "label count", 0x000000000000001aull},
    {47u, "landmasses", "reserved", 0xf318e0e2f9b92325ull},
    {51u, "climate", "draws", 0x0000000000000001ull},
    {51u, "climate", "base", 0x0000000042fba94cull},
    {51u, "climate", "spread", 0x0000000041a00000ull},
    {51u, "climate", "pole drop", 0x00000000420c0000ull},
    {51u, "climate", "offset", 0x0000000000000032ull},
    {51u, "noise", "draws", 0x00000000000001d8ull},
    {51u, "noise", "noise map", 0x96c79e41e3eec929ull},
    {51u, "mountains", "draws", 0x000000000000125full},
    {51u, "mountains", "heights", 0x2bb788a28d49a39cull},
    {51u, "mountains", "kinds", 0x4e3e6ca21e9c8293ull},
    {51u, "holes", "draws", 0x0000000000001ba9ull},
    {51u, "holes", "heights", 0xab914b7627748fcaull},
    {51u, "holes", "kinds", 0xdd32018c511f02f6ull},
    {51u, "temperature", "draws", 0x000000000004cbaaull},
    {51u, "temperature", "temperatures", 0xd8e7595a10857419ull},
    {51u, "temperature", "hot column", 0x0000000000000171ull},
    {51u, "zones", "draws", 0x000000000004cc04ull},
    {51u, "zones", "zones", 0x5c6ef23c4177193bull},
    {51u, "rivers", "draws", 0x0000000000056557ull},
    {51u, "rivers", "rivers", 0x658ffee0236f76f5ull},
    {51u, "colours", "draws", 0x00000000001fdf3dull},
    {51u, "colours", "image", 0xfaefc180dfe2eb8eull},
    {51u, "colours", "land mask", 0x403aad2e3c0dcca4ull},
    {51u, "colours", "forests", 0x4da2dda2551929e4ull},
    {51u, "colours", "deserts", 0xf55485b4bd293d95ull},
    {51u, "colours", "zone radii", 0xf1e13340632d32b1ull},
    {51u, "landmasses", "draws", 0x00000000001fdf3dull},
    {51u, "landmasses", "label map", 0x7d4db562c0ddf846ull},
    {51u, "landmasses", "landmass labels", 0x9caf2da7740f92d7ull},
    {51u, "landmasses", "label count", 0x000000000000001bull},
    {51u, "landmasses", "reserved", 0xf318e0e2f9b92325ull},
};

const unsigned int SEEDS[] = {20261210u, 47u, 51u};

// The game's planet through its own steps, in the order generate(500, 300) and
// render(640, 480) take them, stopping after the given stage.
std::vector<PLANET_DIGEST> staged_run(unsigned int uiSeed, const std::string& sLast)
{
    SCREEN_STANDIN standin;
    std::vector<PLANET_DIGEST> v_Digests;
    std::unique_ptr<PLANET> pPlanet(new PLANET());
    PLANET& p = *pPlanet;
    p.create_bitmaps();
    random_seed(uiSeed);

    CLIMATE cClimate(36, 6000.0f, (float)(6.963 * std::pow(10.0, 8.0)), 0.31f, 0.26f,
                     (float)(1.496 * std::pow(10.0, 11.0)));
    auto record = [&](const std::string& sStage) {
        const CLIMATE& c = sStage == "climate" ? cClimate : p.cClimate;
        PLANET_VIEW view{&p.aCells[0][0], p.bmpImage,    p.bmpLabels,     p.bmpNoise,
                         c.fBase,         c.fSpread,     c.fPole_drop,    c.iOffset,
                         p.iHot_column,   p.iLabel_count, p.forestx,      p.foresty,
                         p.forest_range,  random_draw_count()};
        record_stage(v_Digests, uiSeed, sStage, view);
        return sStage == sLast;
    };
    if (record("climate"))
        return v_Digests;
    p.make_climate_noise();
    p.cClimate = cClimate;
    if (record("noise"))
        return v_Digests;
    int x = 0;
    int y = 0;
    for (int i = 0; i < 500; i++)
        p.make_mountain(x, y);
    if (record("mountains"))
        return v_Digests;
    for (int i = 0; i < 300; i++)
        p.make_hole(x, y);
    if (record("holes"))
        return v_Digests;
    p.calculate_temperature();
    if (record("temperature"))
        return v_Digests;
    p.make_forest_zones();
    if (record("zones"))
        return v_Digests;
    p.make_rivers(30);
    if (record("rivers"))
        return v_Digests;
    p.paint(SEA_LEVEL);
    if (record("colours"))
        return v_Digests;
    p.analyze_landmasses();
    record("landmasses");
    return v_Digests;
}

std::string key(const PLANET_DIGEST& d)
{
    return std::to_string(d.uiSeed) + " " + d.sStage + ": " + d.sItem;
}

std::map<std::string, unsigned long long> expected_table()
{
    std::map<std::string, unsigned long long> m;
    for (const PLANET_DIGEST& d : EXPECTED)
        m[key(d)] = d.ullValue;
    return m;
}

// Every item the table holds for the stage, for every seed, against what was measured.
void expect_stage(const std::string& sStage, const std::vector<PLANET_DIGEST>& v_Measured)
{
    std::map<std::string, unsigned long long> mExpected = expected_table();
    int iCompared = 0;
    for (const PLANET_DIGEST& d : v_Measured)
    {
        if (d.sStage != sStage)
            continue;
        auto it = mExpected.find(key(d));
        ASSERT_NE(it, mExpected.end()) << "no row for " << key(d);
        EXPECT_EQ(it->second, d.ullValue) << key(d) << " moved";
        ++iCompared;
    }
    EXPECT_GT(iCompared, 0) << sStage;
}

void expect_stage(const std::string& sStage)
{
    for (unsigned int uiSeed : SEEDS)
        expect_stage(sStage, staged_run(uiSeed, sStage));
}
}

// One case per stage, so that the first failing one names the stage that moved; the later
// ones fail with it, since every stage draws on from where the one before stopped.
TEST(PlanetStages, Climate) { expect_stage("climate"); }
TEST(PlanetStages, NoiseMap) { expect_stage("noise"); }
TEST(PlanetStages, Mountains) { expect_stage("mountains"); }
TEST(PlanetStages, Holes) { expect_stage("holes"); }
TEST(PlanetStages, Temperature) { expect_stage("temperature"); }
TEST(PlanetStages, ForestZones) { expect_stage("zones"); }
TEST(PlanetStages, Rivers) { expect_stage("rivers"); }
TEST(PlanetStages, Colours) { expect_stage("colours"); }
TEST(PlanetStages, Landmasses) { expect_stage("landmasses"); }

// The drivers themselves: generate and render end where the stages end.
TEST(PlanetStages, WholeRunAsTheWorldMakesIt)
{
    for (unsigned int uiSeed : SEEDS)
    {
        SCREEN_STANDIN standin;
        std::unique_ptr<PLANET> pPlanet(new PLANET());
        PLANET& p = *pPlanet;
        p.create_bitmaps();
        random_seed(uiSeed);
        p.generate(500, 300);
        p.render(640, 480);
        PLANET_VIEW view{&p.aCells[0][0], p.bmpImage,     p.bmpLabels,   p.bmpNoise,
                         p.cClimate.fBase, p.cClimate.fSpread, p.cClimate.fPole_drop,
                         p.cClimate.iOffset, p.iHot_column, p.iLabel_count, p.forestx,
                         p.foresty,        p.forest_range, random_draw_count()};
        // What the finished planet still shows of each stage.
        std::vector<PLANET_DIGEST> v_Final;
        for (const char* sStage : {"climate", "noise", "holes", "temperature", "rivers", "colours", "landmasses"})
            record_stage(v_Final, uiSeed, sStage, view);
        std::vector<PLANET_DIGEST> v_Kept;
        for (const PLANET_DIGEST& d : v_Final)
        {
            bool bOverwritten = (d.sItem == "draws" && d.sStage != "landmasses") || d.sItem == "land mask";
            if (!bOverwritten)
                v_Kept.push_back(d);
        }
        for (const char* sStage : {"climate", "noise", "holes", "temperature", "rivers", "colours", "landmasses"})
            expect_stage(sStage, v_Kept);
    }
}

TEST(PlanetStages, ReferenceStillGivesTheTable)
{
    for (unsigned int uiSeed : SEEDS)
    {
        std::vector<PLANET_DIGEST> v_Reference = reference_planet_digests(uiSeed);
        for (const std::string& sStage : planet_stages())
            expect_stage(sStage, v_Reference);
    }
}
