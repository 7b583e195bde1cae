#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tools/vst2host/FakePluginAccess.hpp"
#include "vst2host/Host.hpp"

using namespace vst2;
using namespace vst2host;
using namespace vst2host_test;
using namespace std::chrono_literals;

namespace
{

// Long enough for the plug-in's own thread on a loaded machine; the wait ends as soon as the record
// arrives.
constexpr auto patience = 10s;

struct Answer
{
    const char* name;
    std::function<void(Host&)> set_up;
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    VstIntPtr expected;
    const char* capability = nullptr; // what audioMasterCanDo asks, recorded as text
};

class HostAnswer : public StartedHost, public testing::WithParamInterface<Answer>
{
};

void nothing(Host&) {}

} // namespace

TEST_P(HostAnswer, AnswersWhatTheTestSetAndRecordsTheCall)
{
    const Answer& answer = GetParam();
    answer.set_up(host);
    EXPECT_EQ(call_through(host, answer.opcode, answer.index, answer.value,
                           const_cast<char*>(answer.capability)),
              answer.expected);
    const std::vector<CallbackRecord> records = host.use_log().get_records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].opcode, answer.opcode);
    EXPECT_EQ(records[0].index, answer.index);
    EXPECT_EQ(records[0].value, answer.value);
    EXPECT_EQ(records[0].text, answer.capability != nullptr ? answer.capability : "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HostAnswer,
    testing::Values(
        Answer{"VersionByDefault", nothing, audioMasterVersion, 0, 0, 2400},
        Answer{"VersionSet", [](Host& h) { h.set_version(2300); }, audioMasterVersion, 0, 0, 2300},
        Answer{"InputConnectedByDefault", nothing, audioMasterPinConnected, 1, 0, 0},
        Answer{"InputUnplugged", [](Host& h) { h.set_input_connected(1, false); },
               audioMasterPinConnected, 1, 0, 1},
        Answer{"OtherInputStillConnected", [](Host& h) { h.set_input_connected(1, false); },
               audioMasterPinConnected, 0, 0, 0},
        Answer{"OutputUnpluggedNotInput", [](Host& h) { h.set_output_connected(1, false); },
               audioMasterPinConnected, 1, 0, 0},
        Answer{"OutputUnplugged", [](Host& h) { h.set_output_connected(1, false); },
               audioMasterPinConnected, 1, 1, 1},
        Answer{"OutputPluggedAgain",
               [](Host& h) { h.set_output_connected(0, false), h.set_output_connected(0, true); },
               audioMasterPinConnected, 0, 1, 0},
        Answer{"SampleRateFromStart", nothing, audioMasterGetSampleRate, 0, 0, 48000},
        Answer{"BlockSizeFromStart", nothing, audioMasterGetBlockSize, 0, 0, 256},
        Answer{"VendorVersion", [](Host& h) { h.set_vendor_version(0x160); },
               audioMasterGetVendorVersion, 0, 0, 0x160},
        Answer{"SizeWindowByDefault", nothing, audioMasterSizeWindow, 300, 335, 1},
        Answer{"SizeWindowRefused", [](Host& h) { h.set_size_window_answer(0); },
               audioMasterSizeWindow, 300, 335, 0},
        Answer{"ParameterQuantization", [](Host& h) { h.set_parameter_quantization(4); },
               audioMasterGetParameterQuantization, 0, 0, 4},
        Answer{"AutomationState", [](Host& h) { h.set_automation_state(3); },
               audioMasterGetAutomationState, 0, 0, 3},
        Answer{"ProcessLevelOfTheUserThread", nothing, audioMasterGetCurrentProcessLevel, 0, 0, 1},
        Answer{"ProcessLevelSet", [](Host& h) { h.set_process_level(4); },
               audioMasterGetCurrentProcessLevel, 0, 0, 4},
        Answer{"DirectoryByDefault", nothing, audioMasterGetDirectory, 0, 0, 0},
        Answer{"TimeWhenAbsent", [](Host& h) { h.set_time_mode(TimeInfoMode::absent); },
               audioMasterGetTime, 0, kVstTempoValid, 0},
        Answer{"CurrentId", [](Host& h) { h.set_current_id(77); }, audioMasterCurrentId, 0, 0, 77},
        Answer{"CapabilityGranted", [](Host& h) { h.set_can_do("sizeWindow", 1); },
               audioMasterCanDo, 0, 0, 1, "sizeWindow"},
        Answer{"CapabilityRefused", [](Host& h) { h.set_can_do("openFileSelector", -1); },
               audioMasterCanDo, 0, 0, -1, "openFileSelector"},
        Answer{"CapabilityUnknown", nothing, audioMasterCanDo, 0, 0, 0, "sendVstMidiEvent"},
        Answer{"AnyOtherOpcode", nothing, audioMasterOpenFileSelector, 0, 0, 0}),
    [](const testing::TestParamInfo<Answer>& info) { return info.param.name; });

TEST_F(StartedHost, CopiesVendorAndProductIntoSixtyFourBytesAndNoMore)
{
    const std::string long_text(100, 'x');
    host.set_product_string(long_text);
    char buffer[80];
    std::memset(buffer, '#', sizeof(buffer));
    EXPECT_EQ(call_through(host, audioMasterGetVendorString, 0, 0, buffer), 1);
    EXPECT_STREQ(buffer, "Morvane Test Host") << "the default vendor";

    std::memset(buffer, '#', sizeof(buffer));
    EXPECT_EQ(call_through(host, audioMasterGetProductString, 0, 0, buffer), 1);
    EXPECT_EQ(std::string(buffer), std::string(63, 'x')) << "cut to 63 characters and a zero";
    EXPECT_EQ(buffer[64], '#') << "nothing written past the 64 bytes";

    host.set_vendor_string("Ableton");
    std::memset(buffer, '#', sizeof(buffer));
    call_through(host, audioMasterGetVendorString, 0, 0, buffer);
    EXPECT_STREQ(buffer, "Ableton");
}

TEST_F(StartedHost, AnswersTheDirectoryTextUntilItIsTakenAway)
{
    host.set_directory("/plug-ins/here");
    const auto answer = call_through(host, audioMasterGetDirectory);
    ASSERT_NE(answer, 0);
    EXPECT_STREQ(reinterpret_cast<const char*>(answer), "/plug-ins/here");
    host.set_directory(std::nullopt);
    EXPECT_EQ(call_through(host, audioMasterGetDirectory), 0);
}

class HostTime : public StartedHost, public testing::WithParamInterface<TimeInfoMode>
{
};

TEST_P(HostTime, GivesTheTimeOfTheBlockBeingProcessed)
{
    const TimeInfoMode mode = GetParam();
    host.set_time_mode(mode);
    host.set_tempo(137.5);
    std::vector<float> left(256, 0.0f), right(256, 0.0f);
    float* channels[] = {left.data(), right.data()};
    ASSERT_TRUE(host.process(channels, channels, 256));
    ASSERT_TRUE(host.process(channels, channels, 100));
    const fake_plugin::Seen seen = seen_by(host);

    EXPECT_EQ(seen.time_given, mode != TimeInfoMode::absent);
    if (mode == TimeInfoMode::absent)
        return;
    EXPECT_EQ(seen.sample_pos, 256.0) << "the second block starts after the first one's frames";
    EXPECT_EQ(seen.sample_rate, 48000.0);
    const bool tempo_valid = (seen.time_flags & kVstTempoValid) != 0;
    EXPECT_EQ(tempo_valid, mode == TimeInfoMode::with_tempo);
    EXPECT_EQ(seen.tempo, tempo_valid ? 137.5 : 0.0);
}

INSTANTIATE_TEST_SUITE_P(Modes, HostTime,
                         testing::Values(TimeInfoMode::absent, TimeInfoMode::with_tempo,
                                         TimeInfoMode::without_tempo),
                         [](const auto& info)
                         {
                             return std::string(info.param == TimeInfoMode::absent ? "Absent"
                                                : info.param == TimeInfoMode::with_tempo
                                                    ? "WithTempo"
                                                    : "WithoutTempo");
                         });

TEST_F(StartedHost, RecordsEachCallInOrderWithItsValuesAndThread)
{
    host.set_parameter(0, 0.25f);
    call_through(host, audioMasterUpdateDisplay, 2, 0, nullptr, fake_plugin::joined_thread);
    const std::vector<CallbackRecord> records = host.use_log().get_records();
    ASSERT_EQ(records.size(), 4u);
    const VstInt32 opcodes[] = {audioMasterBeginEdit, audioMasterAutomate, audioMasterEndEdit,
                                audioMasterUpdateDisplay};
    for (std::size_t i = 0; i < records.size(); ++i)
        EXPECT_EQ(records[i].opcode, opcodes[i]) << "record " << i;
    EXPECT_EQ(records[1].opt, 0.25f) << "the automated value";
    EXPECT_EQ(records[0].thread, std::this_thread::get_id());
    EXPECT_NE(records[3].thread, std::this_thread::get_id()) << "the plug-in's own thread";
    EXPECT_EQ(records[3].index, 2);
}

TEST_F(StartedHost, AnswersWithoutRecordingWhileRecordingIsOff)
{
    host.set_recording(false);
    host.set_tempo(90.0);
    const auto answer = call_through(host, audioMasterGetTime, 0, kVstTempoValid);
    ASSERT_NE(answer, 0);
    EXPECT_EQ(reinterpret_cast<const VstTimeInfo*>(answer)->tempo, 90.0);
    char capability[] = "sendVstEvents";
    host.set_can_do(capability, 1);
    EXPECT_EQ(call_through(host, audioMasterCanDo, 0, 0, capability), 1);
    EXPECT_TRUE(host.use_log().get_records().empty());

    host.set_recording(true);
    call_through(host, audioMasterVersion);
    const std::vector<CallbackRecord> records = host.use_log().get_records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].opcode, audioMasterVersion);
}

TEST_F(StartedHost, WaitsForACallFromAThreadThatOutlivesTheRequest)
{
    const auto io_changed = [](const std::vector<CallbackRecord>& now)
    {
        return std::any_of(now.begin(), now.end(),
                           [](const CallbackRecord& r)
                           { return r.opcode == audioMasterIOChanged && r.index == 9; });
    };
    EXPECT_FALSE(host.use_log().wait_for(io_changed, 0ms)) << "nothing to wait for yet";
    call_through(host, audioMasterIOChanged, 9, 0, nullptr, fake_plugin::running_thread);
    EXPECT_TRUE(host.use_log().wait_for(io_changed, patience));
}

TEST_F(StartedHost, IgnoresCallsForEffectsItDoesNotKnow)
{
    // Neither pointer may be read: one was never mapped, the other is freed once the effect closes.
    auto* never_loaded = reinterpret_cast<AEffect*>(std::uintptr_t{0x10});
    EXPECT_EQ(Host::host_callback(never_loaded, audioMasterVersion, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(Host::host_callback(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f), 0)
        << "a null effect outside the entry";

    AEffect* closed = host.use_effect();
    host.stop();
    host.use_log().clear();
    EXPECT_EQ(Host::host_callback(closed, audioMasterVersion, 0, 0, nullptr, 0.0f), 0);
    EXPECT_TRUE(host.use_log().get_records().empty()) << "calls for unknown effects are not logged";
}
