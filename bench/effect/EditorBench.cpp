// The editor's costs that a user feels: opening it (pictures decoded, controls built, the first
// full paint) and repainting it whole, in a window in memory with the real engine behind it.
#include <benchmark/benchmark.h>
#include <memory>

#include "effect/gui/GuiRig.hpp"

namespace
{

void OpenEditor(benchmark::State& state)
{
    EngineRig engine;
    FakeHostGui host(*engine.dsp);
    for (auto _ : state)
    {
        ravik::WindowOffscreen window({VantrelGui::width, VantrelGui::height});
        auto gui = std::make_unique<VantrelGui>();
        open_editor(*gui, host, *engine.dsp, window);
        benchmark::DoNotOptimize(window.get_pixel(150, 163));
        gui->close();
        gui->set_window(nullptr);
    }
}

void RepaintEditor(benchmark::State& state)
{
    GuiRig rig;
    for (auto _ : state)
    {
        rig.window.paint_all();
        benchmark::DoNotOptimize(rig.window.get_pixel(150, 163));
    }
}

} // namespace

BENCHMARK(OpenEditor)->Unit(benchmark::kMillisecond);
BENCHMARK(RepaintEditor)->Unit(benchmark::kMillisecond);
