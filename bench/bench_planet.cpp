// Times the planet generation that runs on every start: the whole planet, the climate and
// terrain stage, the rendering stage (landmass labelling included) and the labelling alone,
// and reports the peak memory of the process.

#include <benchmark/benchmark.h>

#include <allegro.h>
#include <sys/resource.h>

#include <cstring>
#include <memory>

#include "framework/colours.h"
#include "framework/headless.h"
#include "framework/random.h"
#include "world/planet/planet.h"

namespace
{
constexpr unsigned int BENCH_SEED = 4242;

double g_dBaseline_mb = 0.0;

double peak_rss_mb()
{
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;   // kilobytes on Linux
}

// A planet after its terrain stage, to copy into the planet that a benchmark renders.
PLANET* terrain_planet()
{
    static PLANET* s_pPlanet = nullptr;
    if (s_pPlanet == nullptr)
    {
        random_seed(BENCH_SEED);
        s_pPlanet = new PLANET();
        s_pPlanet->create_bitmaps();
        s_pPlanet->generate(500, 300);
    }
    return s_pPlanet;
}

void copy_terrain(PLANET* pTarget)
{
    PLANET* pSource = terrain_planet();
    std::memcpy(pTarget->aCells, pSource->aCells, sizeof(pSource->aCells));
    pTarget->cClimate = pSource->cClimate;
    pTarget->iLabel_count = 0;
    clear_to_color(pTarget->bmpLabels, 0);
}

void BM_WholePlanet(benchmark::State& state)
{
    for (auto _ : state)
    {
        random_seed(BENCH_SEED);
        std::unique_ptr<PLANET> pPlanet(new PLANET());
        pPlanet->create_bitmaps();
        pPlanet->generate(500, 300);
        pPlanet->render(WORLD_WIDTH, WORLD_HEIGHT);
        benchmark::DoNotOptimize(pPlanet->iLabel_count);
    }
    state.counters["peak_rss_MB"] = peak_rss_mb();
    state.counters["rss_before_MB"] = g_dBaseline_mb;
    state.counters["planet_object_MB"] = sizeof(PLANET) / (1024.0 * 1024.0);
}

void BM_ClimateAndTerrain(benchmark::State& state)
{
    std::unique_ptr<PLANET> pPlanet(new PLANET());
    pPlanet->create_bitmaps();
    for (auto _ : state)
    {
        state.PauseTiming();
        random_seed(BENCH_SEED);
        pPlanet->create_bitmaps();   // heights back to 0
        state.ResumeTiming();
        pPlanet->generate(500, 300);
    }
}

void BM_Render(benchmark::State& state)
{
    std::unique_ptr<PLANET> pPlanet(new PLANET());
    pPlanet->create_bitmaps();
    for (auto _ : state)
    {
        state.PauseTiming();
        copy_terrain(pPlanet.get());
        random_seed(BENCH_SEED + 1);
        state.ResumeTiming();
        pPlanet->render(WORLD_WIDTH, WORLD_HEIGHT);
    }
}

void BM_Landmasses(benchmark::State& state)
{
    std::unique_ptr<PLANET> pPlanet(new PLANET());
    pPlanet->create_bitmaps();
    copy_terrain(pPlanet.get());
    random_seed(BENCH_SEED + 1);
    pPlanet->render(WORLD_WIDTH, WORLD_HEIGHT);

    // The land mask as the rendering pass leaves it, before labelling.
    BITMAP* bmpMask = create_bitmap_ex(32, WORLD_WIDTH, WORLD_HEIGHT);
    for (int y = 0; y < WORLD_HEIGHT; y++)
        for (int x = 0; x < WORLD_WIDTH; x++)
            putpixel(bmpMask, x, y, getpixel(pPlanet->bmpLabels, x, y) != 0 ? 1 : 0);

    for (auto _ : state)
    {
        state.PauseTiming();
        blit(bmpMask, pPlanet->bmpLabels, 0, 0, 0, 0, WORLD_WIDTH, WORLD_HEIGHT);
        pPlanet->iLabel_count = 0;
        state.ResumeTiming();
        pPlanet->analyze_landmasses();
    }
    state.counters["labels"] = pPlanet->iLabel_count;
    destroy_bitmap(bmpMask);
}
}

// The whole planet goes first, so its peak is not raised by the others' copies.
BENCHMARK(BM_WholePlanet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClimateAndTerrain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Render)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Landmasses)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    start_headless_allegro();
    // The progress lines need a screen; a memory bitmap stands in.
    screen = create_bitmap_ex(32, WORLD_WIDTH, WORLD_HEIGHT);
    clear_to_color(screen, BLACK);
    g_dBaseline_mb = peak_rss_mb();

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    destroy_bitmap(screen);
    screen = nullptr;
    return 0;
}
