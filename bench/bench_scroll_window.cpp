#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "framework/colours.h"
#include "framework/headless.h"
#include "framework/screen_layout.h"
#include "framework/scroll_window.h"

namespace fs = std::filesystem;

namespace
{
// A population chart of the given number of towns in the window's scratch database.
void fill_chart(SCROLL_WINDOW& w, int iTowns)
{
    w.set_title("Population Chart");
    w.add_column("Town", 0);
    w.add_column("Population", 200);
    w.exec("DROP TABLE IF EXISTS settlement_window");
    w.exec("CREATE TABLE settlement_window(Town char(100), Population long)");
    w.exec("BEGIN");
    for (int i = 0; i < iTowns; ++i)
        w.exec(("INSERT into settlement_window values('Town " + std::to_string(i) + "', '" +
                std::to_string(1000 + 37 * i) + "')")
                   .c_str());
    w.exec("COMMIT");
    w.set_table("settlement_window", "Population");
    w.toggle_visible();
}

// Frames of a visible window until the benchmark has its figure.
void draw_frames(benchmark::State& state, SCROLL_WINDOW& w)
{
    BITMAP* bmp = create_bitmap_ex(32, SCREEN_WIDTH, SCREEN_HEIGHT);
    for (auto _ : state)
        w.draw(bmp);
    destroy_bitmap(bmp);
}

// One frame of an open population chart: the query and the drawing.
void BM_population_chart_frame(benchmark::State& state)
{
    SCROLL_WINDOW w(400, 300);
    fill_chart(w, (int)state.range(0));
    draw_frames(state, w);
}
BENCHMARK(BM_population_chart_frame)->Arg(0)->Arg(30)->Arg(300)->Unit(benchmark::kMicrosecond);

// The query without the cells' text: a window with no columns draws no cell.
void BM_population_chart_query_only(benchmark::State& state)
{
    SCROLL_WINDOW wChart(400, 300);
    fill_chart(wChart, (int)state.range(0));
    SCROLL_WINDOW w(1, 1);
    w.set_table("settlement_window", "Population");
    w.toggle_visible();
    draw_frames(state, w);
}
BENCHMARK(BM_population_chart_query_only)->Arg(30)->Arg(300)->Unit(benchmark::kMicrosecond);
}

int main(int argc, char** argv)
{
    start_headless_allegro();
    // Windows open ./data/scroll_window.txt: run in a scratch directory.
    char sTemplate[] = "/tmp/orv_bench_window_XXXXXX";
    if (mkdtemp(sTemplate) == nullptr)
        return 1;
    const fs::path pathDir = sTemplate;
    fs::create_directory(pathDir / "data");
    const fs::path pathOld = fs::current_path();
    fs::current_path(pathDir);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    fs::current_path(pathOld);
    fs::remove_all(pathDir);
    return 0;
}
