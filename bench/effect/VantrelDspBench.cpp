// The engine's cost as a real-time factor: seconds of 48 kHz stereo audio rendered per second of
// one core (CPU time), against a plain copy and one biquad per channel in the same run.
#include <benchmark/benchmark.h>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "effect/FakeHostDsp.hpp"
#include "effect/dsp/Biquad.hpp"
#include "effect/dsp/VantrelDsp.hpp"
#include "plux/param/NormalizedParamInterface.hpp"

namespace
{

constexpr float rate = 48000.0f;

struct Signal
{
    std::vector<float> in[2];
    std::vector<float> out[2];

    explicit Signal(int block)
    {
        for (int c = 0; c < 2; ++c)
        {
            in[c].resize(static_cast<std::size_t>(block));
            out[c].resize(static_cast<std::size_t>(block));
            for (int i = 0; i < block; ++i)
            {
                in[c][i] = static_cast<float>(
                    0.5 * std::sin(2.0 * std::numbers::pi * (220.0 + 110.0 * c) * i / rate));
            }
        }
    }
};

void report(benchmark::State& state, int block)
{
    state.counters["rt_factor"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * block / rate, benchmark::Counter::kIsRate);
}

enum Scene
{
    default_program,
    bands16_post_evolution50,
    bands16_pre_automated
};

void run_engine(benchmark::State& state, Scene scene)
{
    const int block = static_cast<int>(state.range(0));
    FakeHostDsp host; // both right pins connected
    VantrelDsp dsp;
    dsp.set_host(&host);
    dsp.init();
    dsp.set_sample_rate(rate);
    dsp.start();
    if (scene != default_program)
    {
        dsp.use_param(2).set_val_and_notify(16.0);
        dsp.use_param(4).set_val_and_notify(scene == bands16_post_evolution50 ? 1.0 : 0.0);
        dsp.use_param(6).set_val_and_notify(scene == bands16_post_evolution50 ? 50.0 : 10.0);
        dsp.use_param(5).set_val_and_notify(1.2);
        dsp.use_param(0).set_val_and_notify(300.0);
        dsp.clear_buffers();
    }
    Signal sig(block);
    float* ins[2] = {sig.in[0].data(), sig.in[1].data()};
    float* outs[2] = {sig.out[0].data(), sig.out[1].data()};
    // Settle the fades and glides before timing.
    for (int i = 0; i < 200; ++i)
    {
        dsp.process(outs, ins, block, 0);
    }

    unsigned counter = 0;
    for (auto _ : state)
    {
        if (scene == bands16_pre_automated)
        {
            // Every parameter moves a little at every block, as under dense host automation;
            // Nbr Bands stays at 16 and Dist Routing at Pre.
            ++counter;
            const float wobble = 0.02f * static_cast<float>(counter % 16);
            dsp.use_param(0).set_nrm_and_notify(0.3f + wobble);
            dsp.use_param(1).set_nrm_and_notify(0.2f + wobble);
            dsp.use_param(2).set_nrm_and_notify(0.99f + 0.0005f * (counter % 2));
            dsp.use_param(3).set_nrm_and_notify(0.4f + wobble);
            dsp.use_param(4).set_nrm_and_notify(0.1f + wobble);
            dsp.use_param(5).set_nrm_and_notify(0.02f + 0.2f * wobble);
            dsp.use_param(6).set_nrm_and_notify(0.6f + wobble);
            dsp.use_param(7).set_nrm_and_notify(0.4f + wobble);
        }
        dsp.process(outs, ins, block, 0);
        benchmark::DoNotOptimize(sig.out[0].data());
        benchmark::ClobberMemory();
    }
    report(state, block);
}

void BM_CopyBaseline(benchmark::State& state)
{
    const int block = static_cast<int>(state.range(0));
    Signal sig(block);
    for (auto _ : state)
    {
        for (int c = 0; c < 2; ++c)
        {
            std::copy(sig.in[c].begin(), sig.in[c].end(), sig.out[c].begin());
        }
        benchmark::DoNotOptimize(sig.out[0].data());
        benchmark::ClobberMemory();
    }
    report(state, block);
}

void BM_BiquadPerChannelBaseline(benchmark::State& state)
{
    const int block = static_cast<int>(state.range(0));
    Signal sig(block);
    Biquad filters[2];
    for (Biquad& f : filters)
    {
        f.set_type(Biquad::type_low_pass);
        f.set_gain(2.0f);
        f.set_sample_rate(rate);
        f.update();
    }
    for (auto _ : state)
    {
        for (int c = 0; c < 2; ++c)
        {
            filters[c].process_block(sig.out[c].data(), sig.in[c].data(), block);
        }
        benchmark::DoNotOptimize(sig.out[0].data());
        benchmark::ClobberMemory();
    }
    report(state, block);
}

void BM_DefaultProgram(benchmark::State& state)
{
    run_engine(state, default_program);
}

void BM_16BandsPostEvolution50ms(benchmark::State& state)
{
    run_engine(state, bands16_post_evolution50);
}

void BM_16BandsPreAllAutomated(benchmark::State& state)
{
    run_engine(state, bands16_pre_automated);
}

} // namespace

BENCHMARK(BM_CopyBaseline)->Arg(256);
BENCHMARK(BM_BiquadPerChannelBaseline)->Arg(256);
BENCHMARK(BM_DefaultProgram)->Arg(256);
BENCHMARK(BM_16BandsPostEvolution50ms)->Arg(64)->Arg(256)->Arg(512);
BENCHMARK(BM_16BandsPreAllAutomated)->Arg(256);
