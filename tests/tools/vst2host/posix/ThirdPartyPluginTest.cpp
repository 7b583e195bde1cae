#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <numbers>
#include <string>
#include <vector>

#include "vst2host/Host.hpp"
#include "vst2host/ModuleLoader.hpp"

using namespace vst2host;

namespace
{

// A stereo compressor from Debian's lsp-plugins-vst: a plug-in nobody here wrote, built against
// another implementation of the interface.
const std::string third_party_path = "/usr/lib/vst/lsp-plugins/compressor-stereo.so";

// The plug-in loads its bundle's core library, whose dependencies keep memory from their start-up
// in their globals. Kept loaded to the end of the process, that memory is still reachable when
// the leak checker looks, instead of being reported against libraries unloaded long before.
void pin_core_library()
{
    // Never destroyed: a static's destructor would unload them before the leak checker runs.
    static std::vector<ModuleLoader>& pinned = *new std::vector<ModuleLoader>(4);
    std::size_t next = 0;
    const std::filesystem::path folder = std::filesystem::path(third_party_path).parent_path();
    for (const auto& entry : std::filesystem::directory_iterator(folder))
    {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("lsp-plugins-vst2-") && next < pinned.size())
            pinned[next++].open(entry.path().string());
    }
}

} // namespace

TEST(HostWithThirdPartyPlugin, RunsASineThroughACompressor)
{
    if (!std::filesystem::exists(third_party_path))
        GTEST_SKIP() << third_party_path << " is missing: install Debian's lsp-plugins-vst";

    pin_core_library();

    constexpr float rate = 48000.0f;
    constexpr vst2::VstInt32 block = 512;
    Host host;
    ASSERT_TRUE(host.load(third_party_path)) << host.get_error();
    const vst2::AEffect* effect = host.use_effect();
    ASSERT_GE(effect->numInputs, 2);
    ASSERT_GE(effect->numOutputs, 2);
    EXPECT_NE(effect->flags & vst2::effFlagsCanReplacing, 0);
    EXPECT_GT(effect->numParams, 0);
    EXPECT_FALSE(host.get_param_name(0).empty()) << "a named first parameter";
    ASSERT_TRUE(host.start(rate, block));

    std::vector<float> left(block), right(block), out_left(block), out_right(block);
    float* inputs[] = {left.data(), right.data()};
    float* outputs[] = {out_left.data(), out_right.data()};
    double energy = 0.0;
    std::size_t frame = 0;
    bool finite = true;
    // One second of a 440 Hz sine at -6 dBFS; the level is measured over the second half, after
    // the compressor has settled.
    const int blocks = static_cast<int>(rate) / block;
    for (int b = 0; b < blocks; ++b)
    {
        for (std::size_t i = 0; i < left.size(); ++i, ++frame)
        {
            const double phase = 2.0 * std::numbers::pi * 440.0 * static_cast<double>(frame) / rate;
            left[i] = right[i] = static_cast<float>(0.5 * std::sin(phase));
        }
        ASSERT_TRUE(host.process(inputs, outputs, block)) << "block " << b;
        for (std::size_t i = 0; i < out_left.size(); ++i)
        {
            finite = finite && std::isfinite(out_left[i]) && std::isfinite(out_right[i]);
            if (b >= blocks / 2)
                energy += out_left[i] * out_left[i] + out_right[i] * out_right[i];
        }
    }
    EXPECT_TRUE(finite) << "every output sample is a number";
    const double rms = std::sqrt(energy / (2.0 * (blocks - blocks / 2) * block));
    EXPECT_GT(rms, 0.01) << "the compressed sine is not silent";
    host.stop();
}
