// The cost of silence after loud input, against the cost of noise in the same run. Morvane's
// module is loaded as a host loads it, set to its most resonant sound, fed one second of
// full-scale noise and then 30 seconds of digital silence in blocks of 512 frames at 44.1 kHz.
// Filters that ring out into denormal numbers would make the silent blocks many times dearer;
// the counters show the median block of silence, and that of its slowest second, against the
// median block of noise ("silence_vs_noise", "worst_second_vs_noise": 1 is flat).
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "vst2host/Host.hpp"

namespace
{

constexpr float rate = 44100.0f;
constexpr int block = 512;
constexpr int blocks_per_second = static_cast<int>(rate) / block;

using Clock = std::chrono::steady_clock;

float ringing_value(const std::string& name)
{
    if (name == "Resonance" || name == "Nbr Bands" || name == "Band Spacing")
    {
        return 1.0f;
    }
    return name == "Cutoff Freq" ? 0.3f : 0.5f;
}

class Rig
{
public:
    Rig()
    {
        if (!host_.load(MORVANE_MODULE_PATH) || !host_.start(rate, block))
        {
            error_ = host_.get_error().empty() ? "cannot start the effect" : host_.get_error();
            return;
        }
        for (int i = 0; i < host_.use_effect()->numParams; ++i)
        {
            host_.set_parameter(i, ringing_value(host_.get_param_name(i)));
        }
    }

    const std::string& get_error() const { return error_; }

    // Seconds of processing for each block of count blocks of noise or silence.
    std::vector<double> run(int count, bool noise)
    {
        std::vector<double> times;
        times.reserve(static_cast<std::size_t>(count));
        std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
        for (int b = 0; b < count; ++b)
        {
            for (auto* buf : {&left_, &right_})
            {
                if (noise)
                {
                    std::generate(buf->begin(), buf->end(), [&] { return dist(rng_); });
                }
                else
                {
                    std::fill(buf->begin(), buf->end(), 0.0f);
                }
            }
            float* io[] = {left_.data(), right_.data()};
            const auto t0 = Clock::now();
            host_.process(io, io, block);
            times.push_back(std::chrono::duration<double>(Clock::now() - t0).count());
        }
        return times;
    }

private:
    vst2host::Host host_;
    std::string error_;
    std::minstd_rand rng_{5};
    std::vector<float> left_ = std::vector<float>(block);
    std::vector<float> right_ = std::vector<float>(block);
};

// The median of v[from, to): a block that the system preempted does not move it.
double median(const std::vector<double>& v, std::size_t from, std::size_t to)
{
    std::vector<double> part(v.begin() + static_cast<std::ptrdiff_t>(from),
                             v.begin() + static_cast<std::ptrdiff_t>(to));
    const auto mid = part.begin() + static_cast<std::ptrdiff_t>(part.size() / 2);
    std::nth_element(part.begin(), mid, part.end());
    return *mid;
}

void SilenceAfterLoudInput(benchmark::State& state)
{
    Rig rig;
    if (!rig.get_error().empty())
    {
        state.SkipWithError(rig.get_error().c_str());
        return;
    }
    double noise_block = 0.0;
    double silence_block = 0.0;
    double worst_second = 0.0;
    for (auto _ : state)
    {
        const auto noise = rig.run(30 * blocks_per_second, true);
        rig.run(blocks_per_second, true); // the loud burst
        const auto silence = rig.run(30 * blocks_per_second, false);
        noise_block = median(noise, 0, noise.size());
        silence_block = median(silence, 0, silence.size());
        for (std::size_t s = 0; s + blocks_per_second <= silence.size(); s += blocks_per_second)
        {
            worst_second = std::max(worst_second, median(silence, s, s + blocks_per_second));
        }
        double total = 0.0;
        for (const double t : silence)
        {
            total += t;
        }
        state.SetIterationTime(total);
    }
    state.counters["noise_us_per_block"] = noise_block * 1e6;
    state.counters["silence_us_per_block"] = silence_block * 1e6;
    state.counters["silence_vs_noise"] = silence_block / noise_block;
    state.counters["worst_second_vs_noise"] = worst_second / noise_block;
}

BENCHMARK(SilenceAfterLoudInput)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
