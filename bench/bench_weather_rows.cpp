#include <benchmark/benchmark.h>

#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "framework/helpers.h"
#include "framework/run_files.h"
#include "world/save_database.h"
#include "world/weather/weather.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace
{
// Weathers that write rows, as the nodes of a map do once a day.
std::vector<std::unique_ptr<WEATHER>> make_weathers(int iCount)
{
    std::vector<std::unique_ptr<WEATHER>> v_Weathers;
    for (int i = 0; i < iCount; ++i)
    {
        v_Weathers.emplace_back(new WEATHER(50, 50, 60, nullptr));
        v_Weathers.back()->set_node_id(i);
    }
    return v_Weathers;
}

// One tick's rows inside one transaction, as the map's update writes them.
void BM_weather_rows_in_one_transaction(benchmark::State& state)
{
    std::vector<std::unique_ptr<WEATHER>> v_Weathers = make_weathers((int)state.range(0));
    for (auto _ : state)
    {
        exec_sql(save_db, "BEGIN");
        for (auto& pWeather : v_Weathers)
            pWeather->daily_record();
        exec_sql(save_db, "COMMIT");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_weather_rows_in_one_transaction)->Arg(1000)->Unit(benchmark::kMillisecond);

// For comparison: every row its own transaction.
void BM_weather_rows_each_committed(benchmark::State& state)
{
    std::vector<std::unique_ptr<WEATHER>> v_Weathers = make_weathers((int)state.range(0));
    for (auto _ : state)
        for (auto& pWeather : v_Weathers)
            pWeather->daily_record();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_weather_rows_each_committed)->Arg(1000)->Unit(benchmark::kMillisecond);
}

int main(int argc, char** argv)
{
    // A scratch run directory: data/wc.db with one condition, and the save database beside it.
    char sTemplate[] = "/tmp/orv_bench_weather_XXXXXX";
    if (mkdtemp(sTemplate) == nullptr)
        return 1;
    fs::path pathDir = sTemplate;
    fs::path pathOld = fs::current_path();
    fs::current_path(pathDir);
    fs::create_directory("data");
    sqlite3* db = nullptr;
    sqlite3_open(WC_DB_PATH, &db);
    sqlite3_exec(db,
                 "CREATE TABLE wc(name text, amin int, amax int, bmin int, bmax int, tmin int, tmax int, "
                 "rule int, extra int); INSERT INTO wc VALUES('Calm', 0, 100, 0, 100, 0, 100, 0, 0);",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
    // Opens the save database, creates the tables and sets synchronous=OFF.
    WORLD::instance();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    close_save_database();
    fs::current_path(pathOld);
    fs::remove_all(pathDir);
    return 0;
}
