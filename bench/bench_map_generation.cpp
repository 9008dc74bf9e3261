// Times the map generation that runs on every start, at 100 and 999 nodes, on one planet made
// before any timing, and reports the peak memory of the process.

#include <benchmark/benchmark.h>

#include <sqlite3.h>
#include <sys/resource.h>


#include "bench/bench_run_directory.h"
#include "framework/camera.h"
#include "framework/config.h"
#include "framework/headless.h"
#include "framework/random.h"
#include "framework/run_files.h"
#include "world/game.h"
#include "world/geometry.h"
#include "world/map/map.h"
#include "world/map/node.h"
#include "world/planet/planet.h"
#include "world/save_database.h"
#include "world/words/word_database.h"
#include "world/world.h"

namespace
{
constexpr unsigned int PLANET_SEED = 4242;
constexpr unsigned int MAP_SEED = 77;

PLANET* g_pPlanet = nullptr;

double peak_rss_mb()
{
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0; // kilobytes on Linux
}

// What one generation leaves in the singletons, so each starts from the same state.
void forget_generation(MAP* map)
{
    // First, so the map has no used words to take out of the record.
    WORD_DATABASE::instance()->reset_used();
    WORLD::instance()->get_maps().clear();
    WORLD::instance()->set_player(nullptr);
    delete map;
}

void BM_map_generate(benchmark::State& state)
{
    const int iNodes = (int)state.range(0);
    GAME::instance()->config->node_count = iNodes;
    long long iDraws = 0;
    size_t iEdges = 0;
    for (auto _ : state)
    {
        state.PauseTiming();
        WORLD::instance()->init(); // fresh tables, so the rows are the same each time
        node_counter = 0;
        MAP* map = new MAP();
        WORLD::instance()->get_maps().push_front(map);
        random_seed(MAP_SEED);
        state.ResumeTiming();

        map->generate(g_pPlanet, iNodes);

        state.PauseTiming();
        iDraws = random_draw_count();
        iEdges = map->l_Edges.size();
        forget_generation(map);
        state.ResumeTiming();
    }
    state.counters["draws"] = (double)iDraws;
    state.counters["edges"] = (double)iEdges;
    state.counters["peak_rss_MB"] = peak_rss_mb();
}
BENCHMARK(BM_map_generate)->Arg(100)->Arg(999)->Unit(benchmark::kMillisecond);
}

int main(int argc, char** argv)
{
    BENCH_RUN_DIRECTORY rdRun("orv_bench_map_generation");
    if (!rdRun.ready())
        return 1;
    start_headless_allegro();
    CAMERA::current()->reset(WORLD_WIDTH / 2, WORLD_HEIGHT / 2);
    GAME::instance()->config = new CONFIG();
    WORLD::instance();
    WORD_DATABASE::instance()->load(WORDS_FILE_PATH);

    random_seed(PLANET_SEED);
    g_pPlanet = new PLANET();
    g_pPlanet->create_bitmaps();
    g_pPlanet->generate(500, 300);
    g_pPlanet->render(WORLD_WIDTH, WORLD_HEIGHT);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    delete g_pPlanet;
    close_save_database();
    return 0;
}
