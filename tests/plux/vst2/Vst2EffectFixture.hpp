#pragma once

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "TestEffect.hpp"
#include "vst2host/Host.hpp"

namespace plux_test
{

// How a test gets the effect: built in this process through the entry, or from the test plug-in
// module loaded as a DAW loads it.
enum class LoadMode
{
    entry,
    module,
};

std::string to_string(LoadMode mode);

// The entry of the in-process effect, with the test effect's factory set up by config.
vst2::AEffect* test_entry(vst2::HostCallback host);
void set_test_config(const TestConfig& config);

// The built-in bank as the module's resource holds it (880 bytes).
std::vector<unsigned char> read_builtin_bank();

std::vector<vst2host::CallbackRecord> filter(const std::vector<vst2host::CallbackRecord>& records,
                                             vst2::VstInt32 opcode);

// A loaded and started effect (44100 Hz, blocks of 512) whose start-up callbacks are forgotten.
class Vst2EffectTest : public testing::TestWithParam<LoadMode>
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Loads without starting; false with a test failure when the effect cannot be built.
    bool load();
    // One block of silence.
    void run_blocks(int count);
    // One block that the test effect reads as "set parameter index to value with the priority of
    // MIDI control".
    void send_effect_change(int index, float value);
    // A counter of the in-process test effect; -1 when the effect is in a module.
    int effect_info(const std::string& key);

    vst2host::Host host;
};

} // namespace plux_test
