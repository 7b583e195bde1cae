#include "EffectRig.hpp"

#include <algorithm>
#include <cmath>

#include "plux/vst2/Vst2Entry.hpp"
#include "plux/vst2/Vst2WinPlugin.hpp"
#include "sys/Resource.hpp"

namespace plux_test
{

namespace
{

TestFactory& use_factory()
{
    static TestFactory factory;
    return factory;
}

} // namespace

std::string to_string(EffectSource source)
{
    const char* const names[] = {"TestEffectInProcess", "TestEffectModule", "MorvaneModule"};
    return names[static_cast<int>(source)];
}

std::vector<EffectSource> test_sources()
{
    return {EffectSource::test_entry, EffectSource::test_module};
}

std::vector<EffectSource> all_sources()
{
    auto sources = test_sources();
    const auto sound = sound_sources();
    sources.insert(sources.end(), sound.begin(), sound.end());
    return sources;
}

std::vector<EffectSource> sound_sources()
{
    if (module_path(EffectSource::morvane_module) == nullptr)
    {
        return {};
    }
    return {EffectSource::morvane_module};
}

void set_test_config(const TestConfig& config)
{
    use_factory() = TestFactory(config);
}

vst2::AEffect* test_entry(vst2::HostCallback host)
{
    return plux::vst2_entry(host, use_factory());
}

const char* module_path(EffectSource source)
{
#ifdef MORVANE_MODULE_PATH
    if (source == EffectSource::morvane_module)
    {
        return MORVANE_MODULE_PATH;
    }
#endif
    return source == EffectSource::test_module ? PLUX_TEST_MODULE_PATH : nullptr;
}

bool load(vst2host::Host& host, EffectSource source)
{
    return source == EffectSource::test_entry ? host.load_entry(&test_entry)
                                              : host.load(module_path(source));
}

plux::Vst2WinPlugin& plugin_of(const vst2::AEffect& effect)
{
    return dynamic_cast<plux::Vst2WinPlugin&>(*static_cast<vst2::AudioEffect*>(effect.object));
}

std::vector<unsigned char> read_builtin_bank()
{
    const auto bytes = sys::get_resource("QBNK", "static_presets");
    return {bytes.begin(), bytes.end()};
}

std::vector<vst2host::CallbackRecord> filter(const std::vector<vst2host::CallbackRecord>& records,
                                             vst2::VstInt32 opcode)
{
    std::vector<vst2host::CallbackRecord> out;
    for (const auto& r : records)
    {
        if (r.opcode == opcode)
        {
            out.push_back(r);
        }
    }
    return out;
}

bool all_finite(std::span<const float> samples)
{
    for (const float s : samples)
    {
        if (!std::isfinite(s))
        {
            return false;
        }
    }
    return true;
}

NoiseRunner::NoiseRunner(unsigned int seed, int capacity)
    : rng_(seed)
    , in_{std::vector<float>(static_cast<std::size_t>(capacity)), in_[0]}
    , out_{in_[0], in_[0]}
{
}

bool NoiseRunner::process(vst2::AEffect& effect, int frames, bool silent)
{
    fill(in_, frames, silent);
    float* in[] = {in_[0].data(), in_[1].data()};
    float* out[] = {out_[0].data(), out_[1].data()};
    effect.processReplacing(&effect, in, out, frames);
    return finite_out(frames);
}

bool NoiseRunner::process_in_place(vst2host::Host& host, int frames, bool silent)
{
    fill(out_, frames, silent);
    float* io[] = {out_[0].data(), out_[1].data()};
    return host.process(io, io, frames) && finite_out(frames);
}

void NoiseRunner::fill(std::vector<float> (&buffers)[2], int frames, bool silent)
{
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    for (auto& buf : buffers)
    {
        std::generate(buf.begin(), buf.begin() + std::max(frames, 0),
                      [&] { return silent ? 0.0f : noise(rng_); });
    }
}

bool NoiseRunner::finite_out(int frames) const
{
    const auto n = static_cast<std::size_t>(std::max(frames, 0));
    return all_finite({out_[0].data(), n}) && all_finite({out_[1].data(), n});
}

void EffectTest::TearDown()
{
    host.stop();
    set_test_config({});
}

bool EffectTest::load(const TestConfig& config)
{
    set_test_config(config);
    return host.load_entry(&test_entry);
}

TestDsp& EffectTest::dsp()
{
    return dynamic_cast<TestDsp&>(plugin().use_dsp());
}

TestGui& EffectTest::gui()
{
    return dynamic_cast<TestGui&>(*plugin().use_gui());
}

void EffectTest::run_blocks(int count, int frames)
{
    std::vector<float> left(static_cast<std::size_t>(frames), 0.0f);
    std::vector<float> right(static_cast<std::size_t>(frames), 0.0f);
    float* io[] = {left.data(), right.data()};
    for (int i = 0; i < count; ++i)
    {
        ASSERT_TRUE(host.process(io, io, frames));
    }
}

} // namespace plux_test
