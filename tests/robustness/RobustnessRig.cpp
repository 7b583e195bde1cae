#include "RobustnessRig.hpp"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "plux/vst2/TestEffect.hpp"
#include "plux/vst2/Vst2Entry.hpp"
#include "plux/vst2/Vst2WinPlugin.hpp"

namespace robustness
{

namespace
{

vst2::AEffect* test_entry(vst2::HostCallback host)
{
    static const plux_test::TestFactory factory;
    return plux::vst2_entry(host, factory);
}

} // namespace

std::string to_string(EffectSource source)
{
    switch (source)
    {
    case EffectSource::test_entry:
        return "TestEffectInProcess";
    case EffectSource::test_module:
        return "TestEffectModule";
    case EffectSource::morvane_module:
        return "MorvaneModule";
    }
    return "Unknown";
}

std::vector<EffectSource> all_sources()
{
    std::vector<EffectSource> sources{EffectSource::test_entry, EffectSource::test_module};
#ifdef MORVANE_MODULE_PATH
    sources.push_back(EffectSource::morvane_module);
#endif
    return sources;
}

std::vector<EffectSource> sound_sources()
{
#ifdef MORVANE_MODULE_PATH
    return {EffectSource::morvane_module};
#else
    return {};
#endif
}

bool load(vst2host::Host& host, EffectSource source)
{
    bool ok = false;
    switch (source)
    {
    case EffectSource::test_entry:
        ok = host.load_entry(&test_entry);
        break;
    case EffectSource::test_module:
        ok = host.load(ROBUSTNESS_TEST_MODULE_PATH);
        break;
    case EffectSource::morvane_module:
#ifdef MORVANE_MODULE_PATH
        ok = host.load(MORVANE_MODULE_PATH);
#endif
        break;
    }
    return ok;
}

plux::Vst2WinPlugin* in_process_plugin(vst2host::Host& host, EffectSource source)
{
    if (source != EffectSource::test_entry || host.use_effect() == nullptr)
    {
        return nullptr;
    }
    auto* base = static_cast<vst2::AudioEffect*>(host.use_effect()->object);
    return dynamic_cast<plux::Vst2WinPlugin*>(base);
}

double torture_seconds()
{
    const char* text = std::getenv("MORVANE_TORTURE_SECONDS");
    const double seconds = text != nullptr ? std::atof(text) : 0.0;
    return seconds > 0.0 ? seconds : 2.0;
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

int count_denormals(std::span<const float> samples)
{
    int count = 0;
    for (const float s : samples)
    {
        count += s != 0.0f && std::fabs(s) < std::numeric_limits<float>::min() ? 1 : 0;
    }
    return count;
}

} // namespace robustness
