#pragma once

// How the tests get an effect: the test effect built in this process through the entry, the test
// plug-in module loaded as a DAW loads it (dlopen or LoadLibrary, then VSTPluginMain), or
// Morvane's own module when the build has it.
#include <gtest/gtest.h>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "TestEffect.hpp"
#include "vst2host/Host.hpp"

namespace plux
{
class Vst2WinPlugin;
}

namespace plux_test
{

enum class EffectSource
{
    test_entry,
    test_module,
    morvane_module,
};

std::string to_string(EffectSource source);
// The test effect both ways.
std::vector<EffectSource> test_sources();
// With Morvane's module when it is built.
std::vector<EffectSource> all_sources();
// The sources with real filters, for the tests whose subject is the sound.
std::vector<EffectSource> sound_sources();

// The in-process test effect's entry, built as the last set_test_config() said.
vst2::AEffect* test_entry(vst2::HostCallback host);
void set_test_config(const TestConfig& config);
// Null for the in-process source.
const char* module_path(EffectSource source);
// Any thread; false when the effect cannot be built (host.get_error() says why).
bool load(vst2host::Host& host, EffectSource source);
// The plug-in object of an effect built in this process.
plux::Vst2WinPlugin& plugin_of(const vst2::AEffect& effect);

// The built-in bank as the module's resource holds it (880 bytes).
std::vector<unsigned char> read_builtin_bank();
std::vector<vst2host::CallbackRecord> filter(const std::vector<vst2host::CallbackRecord>& records,
                                             vst2::VstInt32 opcode);
bool all_finite(std::span<const float> samples);

// Blocks of stereo noise, or silence, straight through processReplacing as a host at its worst
// sends them: any length up to the capacity, at any time.
class NoiseRunner
{
public:
    explicit NoiseRunner(unsigned int seed, int capacity = 8192);

    // True when every sample that came out is finite.
    bool process(vst2::AEffect& effect, int frames, bool silent = false);
    // Through the host, in place as many hosts process.
    bool process_in_place(vst2host::Host& host, int frames, bool silent = false);
    const std::vector<float>& out(int chn) const { return out_[chn]; }

private:
    void fill(std::vector<float> (&buffers)[2], int frames, bool silent);
    bool finite_out(int frames) const;

    std::minstd_rand rng_;
    std::vector<float> in_[2];
    std::vector<float> out_[2];
};

class EffectTest : public testing::Test
{
protected:
    void TearDown() override;

    // In this process with the test effect built as config says.
    bool load(const TestConfig& config = {});
    plux::Vst2WinPlugin& plugin() { return plugin_of(*host.use_effect()); }
    TestDsp& dsp();
    TestGui& gui();
    // Blocks of silence, processed in place.
    void run_blocks(int count, int frames = 64);
    std::size_t count(vst2::VstInt32 opcode) { return host.use_log().count(opcode); }

    vst2host::Host host;
};

// Every test runs with each source of the parameter.
class EffectSourceTest : public EffectTest, public testing::WithParamInterface<EffectSource>
{
};

} // namespace plux_test
