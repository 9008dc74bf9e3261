// The whole world as a start builds it (planet, map, blurred background, first quests) at 100
// and 999 nodes, the background and the blur alone (as circlefill draws it and as written
// straight into the lines), and one frame as the game draws it: plain, with H held and
// with all three table windows open. Reports the peak memory of the process.

#include <benchmark/benchmark.h>

#include <sqlite3.h>
#include <sys/resource.h>

#include "bench/bench_run_directory.h"
#include "framework/camera.h"
#include "framework/config.h"
#include "framework/headless.h"
#include "framework/image_cache.h"
#include "framework/random.h"
#include "framework/run_files.h"
#include "framework/screen_layout.h"
#include "world/calendar/calendar.h"
#include "world/game.h"
#include "world/geometry.h"
#include "world/map/map.h"
#include "world/map/node.h"
#include "world/map/quest.h"
#include "world/planet/planet.h"
#include "world/save_database.h"
#include "world/words/word_database.h"
#include "world/world.h"

namespace
{
constexpr unsigned int WORLD_SEED = 4242;

double peak_rss_mb()
{
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0; // kilobytes on Linux
}

void press(int iKey)
{
    key[iKey] = 1;
    WORLD::instance()->update();
    key[iKey] = 0;
    WORLD::instance()->update();
}

// Back to a world as its construction leaves it, so that every generation starts alike.
void forget_world()
{
    WORLD* pWorld = WORLD::instance();
    for (const char* sTable : {"settlement_window", "node_weather", "quests"})
        pWorld->close_windows(sTable);
    for (MAP* mMap : pWorld->get_maps())
        delete mMap;
    pWorld->get_maps().clear();
    for (QUEST* q : pWorld->get_quests())
        delete q;
    pWorld->set_quests({});
    pWorld->clear_messages();
    pWorld->set_player(nullptr);
    WORD_DATABASE::instance()->l_Used_qualifiers.clear();
    WORD_DATABASE::instance()->l_Used_names.clear();
    node_counter = 0;
    QUEST::reset_ids();
    pWorld->init();
}

void generate_world(int iNodes)
{
    forget_world();
    GAME::instance()->config->node_count = iNodes;
    CAMERA::current()->reset(WORLD_WIDTH / 2, WORLD_HEIGHT / 2);
    random_seed(WORLD_SEED);
    WORLD::instance()->generate();
}

void BM_world_ready(benchmark::State& state)
{
    const int iNodes = (int)state.range(0);
    for (auto _ : state)
    {
        state.PauseTiming();
        forget_world();
        GAME::instance()->config->node_count = iNodes;
        random_seed(WORLD_SEED);
        state.ResumeTiming();

        WORLD::instance()->generate();
    }
    state.counters["quests"] = (double)WORLD::instance()->get_quests().size();
    state.counters["peak_rss_MB"] = peak_rss_mb();
}
BENCHMARK(BM_world_ready)->Arg(100)->Arg(999)->Unit(benchmark::kMillisecond);

void BM_background_blur(benchmark::State& state)
{
    random_seed(WORLD_SEED);
    PLANET* pPlanet = new PLANET();
    pPlanet->create_bitmaps();
    pPlanet->generate(500, 300);
    pPlanet->render(WORLD_WIDTH, WORLD_HEIGHT);
    for (auto _ : state)
        WORLD::instance()->make_background(pPlanet->get_image());
    delete pPlanet;
}
BENCHMARK(BM_background_blur)->Unit(benchmark::kMillisecond);

// The blur alone as circlefill draws it, the reference the background's blur is held to.
void BM_blur_by_discs(benchmark::State& state)
{
    BITMAP* bmpPicture = create_bitmap(1024, 768);
    clear_to_color(bmpPicture, makecol(90, 140, 60));
    BITMAP* bmpTarget = create_bitmap(1024, 768);
    for (auto _ : state)
    {
        clear_bitmap(bmpTarget);
        set_trans_blender(0, 0, 0, 80);
        drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
        WORLD::blur_by_discs(bmpPicture, bmpTarget);
        solid_mode();
    }
    destroy_bitmap(bmpPicture);
    destroy_bitmap(bmpTarget);
}
BENCHMARK(BM_blur_by_discs)->Unit(benchmark::kMillisecond);

void BM_blur(benchmark::State& state)
{
    BITMAP* bmpPicture = create_bitmap(1024, 768);
    clear_to_color(bmpPicture, makecol(90, 140, 60));
    BITMAP* bmpTarget = create_bitmap(1024, 768);
    for (auto _ : state)
    {
        clear_bitmap(bmpTarget);
        WORLD::blur(bmpPicture, bmpTarget);
    }
    destroy_bitmap(bmpPicture);
    destroy_bitmap(bmpTarget);
}
BENCHMARK(BM_blur)->Unit(benchmark::kMillisecond);

enum FRAME_KIND
{
    FRAME_PLAIN,
    FRAME_H_HELD,
    FRAME_WINDOWS
};

// One frame as the game draws it: world and calendar into the back buffer, the masked copy
// to the screen, the clear for the next frame. The camera is where the start leaves it.
void BM_frame(benchmark::State& state)
{
    const int iNodes = (int)state.range(0);
    const FRAME_KIND kind = (FRAME_KIND)state.range(1);
    generate_world(iNodes);
    CAMERA* c = CAMERA::current();
    for (int i = 0; i < 60; ++i) // the zoom snaps to 3 on the first update
        c->update();
    WORLD* pWorld = WORLD::instance();
    pWorld->update();
    if (kind == FRAME_WINDOWS)
    {
        press(KEY_S);
        press(KEY_W);
        press(KEY_Q);
    }
    key[KEY_H] = kind == FRAME_H_HELD;

    BITMAP* bmpBuffer = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    BITMAP* bmpScreen = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    CALENDAR* pCalendar = CALENDAR::instance();
    for (auto _ : state)
    {
        pWorld->draw(bmpBuffer);
        pCalendar->draw(bmpBuffer);
        draw_sprite(bmpScreen, bmpBuffer, 0, 0);
        clear_bitmap(bmpBuffer);
    }
    key[KEY_H] = 0;
    destroy_bitmap(bmpBuffer);
    destroy_bitmap(bmpScreen);
    state.counters["windows"] = (double)pWorld->get_windows().size();
    state.counters["peak_rss_MB"] = peak_rss_mb();
}
BENCHMARK(BM_frame)
    ->ArgNames({"nodes", "kind"})
    ->ArgsProduct({{100, 999}, {FRAME_PLAIN, FRAME_H_HELD, FRAME_WINDOWS}})
    ->Unit(benchmark::kMicrosecond);
}

int main(int argc, char** argv)
{
    BENCH_RUN_DIRECTORY rdRun("orv_bench_world");
    if (!rdRun.ready())
        return 1;
    start_headless_allegro();
    GAME::instance()->config = new CONFIG();
    IMAGE_CACHE::load(0, NODES_IMAGE_PATH);
    IMAGE_CACHE::load(1, SIGNIFICANT_LOCATIONS_IMAGE_PATH);
    WORD_DATABASE::instance()->load(WORDS_FILE_PATH);
    CALENDAR::instance()->load(CALENDARS_FILE_PATH);
    WORLD::instance();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    forget_world();
    IMAGE_CACHE::destroy_all();
    close_save_database();
    return 0;
}
