#pragma once

// What the robustness tests share: the effects they load (the test effect built in this process,
// the test effect's module, and Morvane's own module when it is built), and checks of audio.
#include <span>
#include <string>
#include <vector>

#include "vst2host/Host.hpp"

namespace plux
{
class Vst2WinPlugin;
}

namespace robustness
{

enum class EffectSource
{
    test_entry,     // the test effect through the entry, in this process
    test_module,    // the test effect's plug-in module
    morvane_module, // Morvane's plug-in module
};

std::string to_string(EffectSource source);
// The sources this build has: Morvane's module only when it is built.
std::vector<EffectSource> all_sources();
// The sources with real filters, for the tests whose subject is the sound.
std::vector<EffectSource> sound_sources();

// Loads source into host as a DAW loads a plug-in; false when it cannot (host.get_error() says
// why). Any thread.
bool load(vst2host::Host& host, EffectSource source);
// The plug-in object of an effect built in this process; null for a module.
plux::Vst2WinPlugin* in_process_plugin(vst2host::Host& host, EffectSource source);

// Seconds the torture test runs: MORVANE_TORTURE_SECONDS, else 2.
double torture_seconds();

bool all_finite(std::span<const float> samples);
// Non-zero samples smaller in magnitude than the smallest normal float.
int count_denormals(std::span<const float> samples);

} // namespace robustness
