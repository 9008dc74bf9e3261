#include <benchmark/benchmark.h>

#include <sqlite3.h>

#include <vector>

#include "bench/bench_run_directory.h"
#include "framework/camera.h"
#include "framework/entity.h"
#include "framework/headless.h"
#include "framework/helpers.h"
#include "framework/random.h"
#include "world/calendar/calendar.h"
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
}

int main(int argc, char** argv)
{
    BENCH_RUN_DIRECTORY rdRun("orv_bench_map");
    if (!rdRun.ready())
        return 1;
    start_headless_allegro();
    random_seed(1);
    CAMERA::current()->reset(320, 240);
    // Opens save_game.db, creates the tables and sets synchronous=OFF.
    WORLD::instance();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    WORLD::instance()->set_player(NULL);
    sqlite3_close(save_db);
    save_db = NULL;
    return 0;
}
