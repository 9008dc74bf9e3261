#include <benchmark/benchmark.h>

#include <sqlite3.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

#include "bench/bench_run_directory.h"
#include "framework/camera.h"
#include "framework/entity.h"
#include "framework/headless.h"
#include "framework/helpers.h"
#include "framework/image_cache.h"
#include "framework/random.h"
#include "framework/run_files.h"
#include "framework/screen_layout.h"
#include "world/calendar/calendar.h"
#include "world/geometry.h"
#include "world/map/edge.h"
#include "world/map/map.h"
#include "world/map/node.h"
#include "world/map/traveller.h"
#include "world/planet/cell.h"
#include "world/save_database.h"
#include "world/world.h"

namespace
{
// A grid of land nodes, each joined to its east and south neighbour: about two edges a node,
// a little more than the generation makes.
MAP* make_grid_map(int iNodes)
{
    MAP* map = new MAP();
    int iColumns = 1;
    while (iColumns * iColumns < iNodes)
        ++iColumns;
    CELL cell;
    CELL::init(&cell);
    cell.iHeight = 6000;
    cell.fTemperature = 60;
    cell.iLandmass = 2;
    std::vector<NODE*> v_Nodes;
    for (int i = 0; i < iNodes; ++i)
    {
        map->create_node(10.0f + 600.0f * (float)(i % iColumns) / (float)iColumns,
                         10.0f + 460.0f * (float)(i / iColumns) / (float)iColumns, &cell);
        v_Nodes.push_back(map->l_Nodes.front());
    }
    exec_sql(save_db, "BEGIN");
    for (int i = 0; i < iNodes; ++i)
    {
        if ((i + 1) % iColumns != 0 && i + 1 < iNodes)
            map->connect_normal(v_Nodes[i], v_Nodes[i + 1]);
        if (i + iColumns < iNodes)
            map->connect_normal(v_Nodes[i], v_Nodes[i + iColumns]);
    }
    exec_sql(save_db, "COMMIT");
    for (NODE* n : map->l_Nodes)
        n->bRevealed = true;
    NODE* nStart = v_Nodes[iNodes / 2];
    nStart->bPlayer = nStart->bVisited = true;
    map->nPlayer_node = nStart;
    map->tTraveller->ENTITY::set_position(nStart->fX, nStart->fY);
    map->tTraveller->set_node(nStart);
    WORLD::instance()->set_player(map->tTraveller);
    // The first tick rolls every weather and chooses its first condition.
    map->update();
    return map;
}

// One logic tick of the map while the token stands: the calendar does not run.
void BM_map_tick_standing(benchmark::State& state)
{
    MAP* map = make_grid_map((int)state.range(0));
    mouse_x = mouse_y = -1000;
    for (auto _ : state)
    {
        ++game_time;
        map->update();
    }
    state.counters["edges"] = (double)map->l_Edges.size();
    delete map;
}
BENCHMARK(BM_map_tick_standing)->Arg(100)->Arg(999)->Unit(benchmark::kMicrosecond);

// One logic tick while the calendar runs: the temperatures follow the hour and every node
// and waypoint writes its row once a game day (about every 131 ticks).
void BM_map_tick_calendar_running(benchmark::State& state)
{
    MAP* map = make_grid_map((int)state.range(0));
    mouse_x = mouse_y = -1000;
    CALENDAR* pCalendar = CALENDAR::instance();
    pCalendar->start();
    for (auto _ : state)
    {
        ++game_time;
        pCalendar->update();
        map->update();
    }
    pCalendar->stop();
    delete map;
}
BENCHMARK(BM_map_tick_calendar_running)->Arg(100)->Arg(999)->Unit(benchmark::kMicrosecond);

// The generation's edge analysis: classify_edges over every node, a hop search per edge.
void BM_classify_edges_every_node(benchmark::State& state)
{
    MAP* map = make_grid_map((int)state.range(0));
    for (auto _ : state)
    {
        map->l_Bridges.clear();
        map->l_Short_detours.clear();
        map->l_Long_detours.clear();
        for (NODE* n : map->l_Nodes)
            map->classify_edges(n);
        benchmark::DoNotOptimize(map->l_Long_detours.size());
    }
    delete map;
}
BENCHMARK(BM_classify_edges_every_node)->Arg(999)->Unit(benchmark::kMillisecond);

// The process's size from /proc/self/statm: field 0 is the virtual size, 1 the resident.
// One frame of the map into a 640x480 back buffer over a plain background: the fog, every
// edge and node, the token. Arguments: nodes, H held (1) or not, zoom. Every grid node is
// revealed and only the start visited, more than a player sees: the heavy case.
void BM_map_draw(benchmark::State& state)
{
    MAP* map = make_grid_map((int)state.range(0));
    BITMAP* bmp = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    CAMERA* c = CAMERA::current();
    c->reset(map->nPlayer_node->fX, map->nPlayer_node->fY);
    c->set_scale((float)state.range(2));
    key[KEY_H] = (char)state.range(1);
    for (auto _ : state)
    {
        clear_to_color(bmp, 0x204060);
        map->draw(bmp);
    }
    key[KEY_H] = 0;
    c->reset(WORLD_WIDTH / 2, WORLD_HEIGHT / 2);
    c->set_scale(1.0f);
    destroy_bitmap(bmp);
    delete map;
}
BENCHMARK(BM_map_draw)
    ->ArgNames({"nodes", "H", "zoom"})
    ->Args({100, 0, 1})
    ->Args({100, 0, 3})
    ->Args({100, 1, 1})
    ->Args({100, 1, 3})
    ->Args({999, 0, 1})
    ->Args({999, 0, 3})
    ->Args({999, 1, 1})
    ->Args({999, 1, 3})
    ->Unit(benchmark::kMicrosecond);

// The map without nodes: the fog and the token alone, what Allegro's blits cost.
void BM_map_draw_fog_only(benchmark::State& state)
{
    MAP* map = new MAP();
    map->tTraveller->ENTITY::set_position(WORLD_WIDTH / 2, WORLD_HEIGHT / 2);
    BITMAP* bmp = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    CAMERA* c = CAMERA::current();
    c->reset(WORLD_WIDTH / 2, WORLD_HEIGHT / 2);
    c->set_scale((float)state.range(0));
    for (auto _ : state)
    {
        clear_to_color(bmp, 0x204060);
        map->draw(bmp);
    }
    c->set_scale(1.0f);
    destroy_bitmap(bmp);
    delete map;
}
BENCHMARK(BM_map_draw_fog_only)->ArgName("zoom")->Arg(1)->Arg(3)->Unit(benchmark::kMicrosecond);

// For scale: what the world draws under the map each frame, the blurred 1024x768 picture
// stretched twice across the 640x480 buffer at zoom 3.
void BM_background_at_zoom_3(benchmark::State& state)
{
    BITMAP* bmpBackground = create_bitmap(1024, 768);
    clear_to_color(bmpBackground, 0x336699);
    BITMAP* bmp = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    CAMERA* c = CAMERA::current();
    c->reset(WORLD_WIDTH / 2, WORLD_HEIGHT / 2);
    c->set_scale(3.0f);
    for (auto _ : state)
    {
        clear_bitmap(bmp);
        for (float x : {0.0f, (float)WORLD_WIDTH})
            stretch_blit(bmpBackground, bmp, 0, 0, 1024, 768, (int)c->world_to_screen_x(x),
                         (int)c->world_to_screen_y(0), (int)c->scale_length_x(WORLD_WIDTH),
                         (int)c->scale_length_y(WORLD_HEIGHT));
    }
    c->set_scale(1.0f);
    destroy_bitmap(bmp);
    destroy_bitmap(bmpBackground);
}
BENCHMARK(BM_background_at_zoom_3)->Unit(benchmark::kMicrosecond);

double statm_mb(int iField)
{
    long a_Values[2] = {0, 0};
    FILE* f = std::fopen("/proc/self/statm", "r");
    if (f != nullptr)
    {
        if (std::fscanf(f, "%ld %ld", &a_Values[0], &a_Values[1]) != 2)
            a_Values[0] = a_Values[1] = 0;
        std::fclose(f);
    }
    return (double)a_Values[iField] * (double)sysconf(_SC_PAGESIZE) / (1024.0 * 1024.0);
}

double peak_rss_mb()
{
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0; // kilobytes on Linux
}

// What a map of N nodes holds in memory: every node and edge waypoint with its sprites,
// weather and cell, and the fog. Run alone (--benchmark_filter=memory) for a clean peak.
void BM_map_memory(benchmark::State& state)
{
    for (auto _ : state)
    {
        double dResident = statm_mb(1);
        double dVirtual = statm_mb(0);
        MAP* map = make_grid_map((int)state.range(0));
        state.counters["map_resident_MB"] = statm_mb(1) - dResident;
        state.counters["map_virtual_MB"] = statm_mb(0) - dVirtual;
        state.counters["peak_MB"] = peak_rss_mb();
        state.counters["nodes_and_waypoints"] = (double)(map->l_Nodes.size() + map->l_Edges.size());
        delete map;
    }
}
BENCHMARK(BM_map_memory)->Arg(999)->Iterations(1)->Unit(benchmark::kMillisecond);
}

int main(int argc, char** argv)
{
    BENCH_RUN_DIRECTORY rdRun("orv_bench_map");
    if (!rdRun.ready())
        return 1;
    start_headless_allegro();
    random_seed(1);
    // The node icon sheets, as the game loads them before it builds the world.
    IMAGE_CACHE::load(0, NODES_IMAGE_PATH);
    IMAGE_CACHE::load(1, SIGNIFICANT_LOCATIONS_IMAGE_PATH);
    CAMERA::current()->reset(WORLD_WIDTH / 2, WORLD_HEIGHT / 2);
    // Opens save_game.db, creates the tables and sets synchronous=OFF.
    WORLD::instance();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    WORLD::instance()->set_player(nullptr);
    IMAGE_CACHE::destroy_all();
    close_save_database();
    return 0;
}
