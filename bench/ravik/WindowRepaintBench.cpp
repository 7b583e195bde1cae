// One full repaint of the editor-sized window: a 300 x 335 background picture and twenty knob
// pictures, drawn tile by tile through the window's 128 x 128 buffer into the window's pixels.
// The editor repaints like this when it opens and when a host uncovers it.
#include <benchmark/benchmark.h>

#include "ravik/WindowOffscreen.hpp"
#include "ravik/window/ToolkitScene.hpp"

namespace
{

void FullRepaint(benchmark::State& state)
{
    ravik::WindowOffscreen window(test::ToolkitScene::size);
    test::ToolkitScene scene(static_cast<int>(state.range(0)));
    scene.attach(window);
    window.open(nullptr);
    for (auto _ : state)
    {
        window.paint_all();
        benchmark::DoNotOptimize(window.get_pixel(150, 150));
    }
    state.counters["repaints/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(FullRepaint)->Arg(20)->Unit(benchmark::kMillisecond);
