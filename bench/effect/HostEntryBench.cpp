// Morvane's cost as a host pays it, against its engine alone and a third-party peer, in one run.
//
// The built module is loaded through its entry point by the test host (tools/vst2host) and
// driven through processReplacing as a DAW does: 48 kHz stereo, blocks of 256 frames of noise,
// the host answering the time info (tempo included) and the connected pins. Each scene reports its
// real-time factor (seconds of audio per second of the audio thread's CPU time):
//   plugin_default     the plug-in as it starts (its first program)
//   engine_default     the engine alone with the same parameter values
//   plugin_16post      16 bands, Dist Routing Post, Evolution 50 ms
//   engine_16post      the engine alone, same values
//   plugin_16pre_auto  16 bands Pre, every parameter set through setParameter at every block
//   engine_16pre_auto  the engine alone, the same moves straight into its parameters
//   lsp_x16            Debian's LSP Parametric Equalizer x16 Stereo, 16 bell bands active
//
// The scenes run in interleaved rounds, so that a busy moment of a shared machine touches them
// all alike; the summary gives each scene's median over the rounds and the ratios between them.
// Every plug-in instance lives for the whole run. Not part of the main job: run it by hand,
// build/native-release/bench/host_entry_bench [--benchmark_filter=...] [rounds], rounds 11 by
// default.
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "effect/EngineRig.hpp"
#include "plux/vst2/Vst2Abi.hpp"
#include "vst2host/Host.hpp"

namespace
{

using namespace vst2;

constexpr float rate = 48000.0f;
constexpr int block = 256;
// Audio per measurement: long enough for the CPU clock, short enough for many rounds.
constexpr double seconds_per_run = 120.0;
constexpr auto blocks_per_run =
    static_cast<benchmark::IterationCount>(seconds_per_run * rate / block);
const char* const lsp_path = "/usr/lib/vst/lsp-plugins/para-equalizer-x16-stereo.so";

// Noise at -6 dBFS, cycled block by block: one second per channel.
class NoiseInput
{
public:
    NoiseInput()
    {
        std::minstd_rand rng(7);
        std::uniform_real_distribution<float> dist(-0.5f, 0.5f);
        for (auto& ch : noise_)
        {
            ch.resize(static_cast<std::size_t>(rate));
            std::generate(ch.begin(), ch.end(), [&] { return dist(rng); });
        }
    }

    // The channel pointers of the next block.
    float** next()
    {
        pos_ = pos_ + 2 * block <= static_cast<int>(noise_[0].size()) ? pos_ + block : 0;
        ptrs_[0] = noise_[0].data() + pos_;
        ptrs_[1] = noise_[1].data() + pos_;
        return ptrs_;
    }

private:
    std::vector<float> noise_[2];
    float* ptrs_[2] = {};
    int pos_ = 0;
};

// A VST 2 module loaded and started by the test host, which answers the plug-in's callbacks as a
// DAW does, the time info with a valid tempo included, but records none of them. Blocks go
// straight to processReplacing: the host's own bookkeeping per block is not the plug-in's cost.
class PluginRig
{
public:
    explicit PluginRig(const std::string& path)
    {
        host_.set_recording(false);
        if (!host_.load(path) || !host_.start(rate, block))
        {
            error_ = host_.get_error().empty() ? path + ": cannot start" : host_.get_error();
            return;
        }
        effect_ = host_.use_effect();
        if (effect_->numInputs < 2 || effect_->numOutputs < 2)
        {
            error_ = path + ": not a stereo effect";
            return;
        }
        host_.dispatch(effStartProcess);
        for (auto& ch : out_)
        {
            ch.resize(block);
        }
    }

    PluginRig(const PluginRig&) = delete;
    PluginRig& operator=(const PluginRig&) = delete;

    const std::string& get_error() const { return error_; }

    int find_param(const std::string& name)
    {
        for (VstInt32 i = 0; i < effect_->numParams; ++i)
        {
            if (host_.get_param_name(i) == name)
            {
                return i;
            }
        }
        return -1;
    }

    std::string get_display(VstInt32 index) { return host_.get_param_display(index); }

    bool set_text(const std::string& name, const std::string& value)
    {
        const int index = find_param(name);
        return index >= 0 && host_.string_to_parameter(index, value);
    }

    // For a plug-in that reads no texts: the normalised value whose display shows the number,
    // found by bisection on a display that grows with the value.
    bool set_number(const std::string& name, double wanted)
    {
        const int index = find_param(name);
        if (index < 0)
        {
            return false;
        }
        float lo = 0.0f;
        float hi = 1.0f;
        for (int i = 0; i < 30; ++i)
        {
            const float mid = 0.5f * (lo + hi);
            set(index, mid);
            (std::atof(get_display(index).c_str()) < wanted ? lo : hi) = mid;
        }
        set(index, hi);
        return std::abs(std::atof(get_display(index).c_str()) - wanted) <= 0.02 * std::abs(wanted);
    }

    void set(VstInt32 index, float value) { host_.set_parameter(index, value); }
    float get(VstInt32 index) { return host_.get_parameter(index); }

    void process(float** inputs)
    {
        float* outputs[2] = {out_[0].data(), out_[1].data()};
        effect_->processReplacing(effect_, inputs, outputs, block);
        benchmark::DoNotOptimize(out_[0].data());
        benchmark::DoNotOptimize(out_[1].data());
    }

private:
    vst2host::Host host_;
    AEffect* effect_ = nullptr;
    std::string error_;
    std::vector<float> out_[2];
};

enum class Scene
{
    default_program,
    bands16_post,
    bands16_pre_automated,
};

// Each block of the automated scene moves every parameter a little, as dense host automation
// does; Nbr Bands stays at 16 and Dist Routing at Pre.
float automated_value(int param, unsigned counter)
{
    const float wobble = 0.02f * static_cast<float>(counter % 16);
    switch (param)
    {
    case 0:
        return 0.3f + wobble;
    case 1:
        return 0.2f + wobble;
    case 2:
        return 0.99f + 0.0005f * static_cast<float>(counter % 2);
    case 3:
        return 0.4f + wobble;
    case 4:
        return 0.1f + wobble;
    case 5:
        return 0.02f + 0.2f * wobble;
    case 6:
        return 0.6f + wobble;
    default:
        return 0.4f + wobble;
    }
}

std::string morvane_error;

// Morvane's module set to a scene and settled.
std::unique_ptr<PluginRig> make_morvane(Scene scene)
{
    // Another build's module may be compared through MORVANE_MODULE.
    const char* other = std::getenv("MORVANE_MODULE");
    auto rig = std::make_unique<PluginRig>(other != nullptr ? other : MORVANE_MODULE_PATH);
    if (!rig->get_error().empty())
    {
        morvane_error = rig->get_error();
        return rig;
    }
    if (scene != Scene::default_program)
    {
        const bool post = scene == Scene::bands16_post;
        const bool ok = rig->set_text("Nbr Bands", "16") &&
                        rig->set_text("Evolution", post ? "50" : "10") &&
                        rig->set_text("Band Spacing", "1.2") && rig->set_text("Cutoff Freq", "300");
        const int routing = rig->find_param("Dist Routing");
        if (!ok || routing < 0)
        {
            morvane_error = "Morvane's parameters are not the expected ones";
            return rig;
        }
        rig->set(routing, post ? 1.0f : 0.0f);
        if (rig->get_display(routing) != (post ? "Post" : "Pre"))
        {
            morvane_error = "Dist Routing did not take its value";
        }
    }
    NoiseInput input;
    for (int i = 0; i < 200; ++i)
    {
        rig->process(input.next());
    }
    return rig;
}

// The engine with the plug-in's parameter values, as its own benchmark drives it.
struct EngineScene
{
    EngineRig engine{rate};
    std::vector<float> out[2];

    explicit EngineScene(PluginRig& values)
    {
        for (int i = 0; i < engine.dsp->get_nbr_param(); ++i)
        {
            set(i, values.get(i));
        }
        engine.dsp->clear_buffers();
        for (auto& ch : out)
        {
            ch.resize(block);
        }
        NoiseInput input;
        for (int i = 0; i < 200; ++i)
        {
            process(input.next());
        }
    }

    void set(int index, float value) { engine.dsp->use_param(index).set_nrm_and_notify(value); }

    void process(float** inputs)
    {
        float* outputs[2] = {out[0].data(), out[1].data()};
        engine.dsp->process(outputs, inputs, block, 0);
        benchmark::DoNotOptimize(out[0].data());
        benchmark::DoNotOptimize(out[1].data());
    }
};

// Every instance of the run, made at first use and gone before main returns: the test host's
// own statics must outlive them.
struct Rigs
{
    std::map<Scene, std::unique_ptr<PluginRig>> morvane;
    std::map<Scene, std::unique_ptr<EngineScene>> engine;
    std::unique_ptr<PluginRig> lsp;
    bool lsp_made = false;
};

std::unique_ptr<Rigs> rigs = std::make_unique<Rigs>();

PluginRig* use_morvane(Scene scene)
{
    auto& rig = rigs->morvane[scene];
    if (rig == nullptr)
    {
        rig = make_morvane(scene);
    }
    return morvane_error.empty() ? rig.get() : nullptr;
}

EngineScene* use_engine(Scene scene)
{
    auto& rig = rigs->engine[scene];
    if (rig == nullptr)
    {
        PluginRig* values = use_morvane(scene);
        if (values == nullptr)
        {
            return nullptr;
        }
        rig = std::make_unique<EngineScene>(*values);
    }
    return rig.get();
}

std::string lsp_error;

// Every band a bell of +6 dB, Q 2, spread from 40 Hz to 16 kHz.
std::unique_ptr<PluginRig> make_lsp()
{
    if (!std::filesystem::exists(lsp_path))
    {
        lsp_error = std::string(lsp_path) + " is missing: install Debian's lsp-plugins-vst";
        return nullptr;
    }
    auto rig = std::make_unique<PluginRig>(lsp_path);
    if (!rig->get_error().empty())
    {
        lsp_error = rig->get_error();
        return nullptr;
    }
    for (int b = 0; b < 16; ++b)
    {
        const std::string n = std::to_string(b);
        const int type = rig->find_param("ft_" + n);
        bool bell = false;
        for (int step = 0; type >= 0 && step <= 64 && !bell; ++step)
        {
            rig->set(type, static_cast<float>(step) / 64.0f);
            bell = rig->get_display(type).rfind("Bell", 0) == 0;
        }
        const double freq = 40.0 * std::pow(400.0, b / 15.0);
        const bool ok = bell && rig->set_number("f_" + n, freq) && rig->set_number("g_" + n, 6.0) &&
                        rig->set_number("q_" + n, 2.0);
        if (!ok)
        {
            lsp_error = "cannot make band " + n + " of the peer a bell";
            return nullptr;
        }
    }
    NoiseInput input;
    for (int i = 0; i < 200; ++i)
    {
        rig->process(input.next());
    }
    return rig;
}

PluginRig* use_lsp()
{
    if (!rigs->lsp_made)
    {
        rigs->lsp = make_lsp();
        rigs->lsp_made = true;
    }
    return rigs->lsp.get();
}

void report(benchmark::State& state)
{
    state.counters["rt_factor"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * block / rate, benchmark::Counter::kIsRate);
}

// The plug-in through its entry and the engine alone, played and automated alike.
template <class Rig>
void run_rig(benchmark::State& state, Scene scene, Rig* rig)
{
    if (rig == nullptr)
    {
        state.SkipWithError(morvane_error.c_str());
        return;
    }
    NoiseInput input;
    unsigned counter = 0;
    for (auto _ : state)
    {
        if (scene == Scene::bands16_pre_automated)
        {
            ++counter;
            for (int p = 0; p < 8; ++p)
            {
                rig->set(p, automated_value(p, counter));
            }
        }
        rig->process(input.next());
    }
    report(state);
}

void run_plugin(benchmark::State& state, Scene scene)
{
    run_rig(state, scene, use_morvane(scene));
}

void run_engine(benchmark::State& state, Scene scene)
{
    run_rig(state, scene, use_engine(scene));
}

void run_lsp(benchmark::State& state)
{
    PluginRig* rig = use_lsp();
    if (rig == nullptr)
    {
        state.SkipWithError(lsp_error.c_str());
        return;
    }
    NoiseInput input;
    for (auto _ : state)
    {
        rig->process(input.next());
    }
    report(state);
}

struct SceneEntry
{
    const char* name;
    void (*run)(benchmark::State&);
};

const SceneEntry scenes[] = {
    {"plugin_default", [](benchmark::State& s) { run_plugin(s, Scene::default_program); }},
    {"engine_default", [](benchmark::State& s) { run_engine(s, Scene::default_program); }},
    {"plugin_16post", [](benchmark::State& s) { run_plugin(s, Scene::bands16_post); }},
    {"engine_16post", [](benchmark::State& s) { run_engine(s, Scene::bands16_post); }},
    {"plugin_16pre_auto", [](benchmark::State& s) { run_plugin(s, Scene::bands16_pre_automated); }},
    {"engine_16pre_auto", [](benchmark::State& s) { run_engine(s, Scene::bands16_pre_automated); }},
    {"lsp_x16", run_lsp},
};

// The console's lines as usual, and at the end the medians and ratios.
class SummaryReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
        {
            const auto found = run.counters.find("rt_factor");
            if (run.error_occurred || found == run.counters.end())
            {
                continue;
            }
            const std::string name = run.benchmark_name();
            factors_[name.substr(0, name.find('/'))].push_back(found->second.value);
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\nReal-time factors over %zu rounds (median, min..max):\n",
                    factors_.empty() ? std::size_t{0} : factors_.begin()->second.size());
        for (const SceneEntry& scene : scenes)
        {
            const auto found = factors_.find(scene.name);
            if (found == factors_.end())
            {
                continue;
            }
            const auto& v = found->second;
            std::printf("  %-18s %8.0fx   %6.0f..%-6.0f\n", scene.name, median(scene.name),
                        *std::min_element(v.begin(), v.end()),
                        *std::max_element(v.begin(), v.end()));
        }
        std::printf("\nRatios of the medians:\n");
        ratio("default program, cost through the entry / engine alone", "engine_default",
              "plugin_default", "at most 1.25");
        ratio("16 bands Post Evolution 50 ms / LSP x16", "plugin_16post", "lsp_x16", "at least 2");
        ratio("16 bands Pre, all automated / LSP x16", "plugin_16pre_auto", "lsp_x16",
              "at least 1.5");
        ratio("16 bands Post, cost through the entry / engine alone", "engine_16post",
              "plugin_16post", "");
        ratio("16 bands Pre automated, cost through the entry / engine alone", "engine_16pre_auto",
              "plugin_16pre_auto", "");
    }

private:
    double median(const std::string& name)
    {
        auto v = factors_[name];
        std::sort(v.begin(), v.end());
        const std::size_t n = v.size();
        return n % 2 == 1 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]);
    }

    void ratio(const char* what, const std::string& a, const std::string& b, const char* target)
    {
        if (factors_.count(a) == 0 || factors_.count(b) == 0)
        {
            return;
        }
        std::printf("  %-62s %6.3f%s%s\n", what, median(a) / median(b), *target ? "  target " : "",
                    target);
    }

    std::map<std::string, std::vector<double>> factors_;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    int rounds = 11;
    if (argc > 1)
    {
        rounds = std::max(1, std::atoi(argv[1]));
    }
    for (int r = 0; r < rounds; ++r)
    {
        for (const SceneEntry& scene : scenes)
        {
            benchmark::RegisterBenchmark(
                (std::string(scene.name) + "/round:" + std::to_string(r)).c_str(), scene.run)
                ->Iterations(blocks_per_run)
                ->Unit(benchmark::kMillisecond);
        }
    }
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    rigs.reset();
    return 0;
}
