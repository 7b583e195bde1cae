#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tools/vst2host/FakePluginAccess.hpp"
#include "vst2host/Host.hpp"
#include "vst2host/MidiEventList.hpp"

using namespace vst2host;
using namespace vst2host_test;

namespace
{

std::vector<float> ramp(float start)
{
    std::vector<float> samples(block);
    for (vst2::VstInt32 i = 0; i < block; ++i)
        samples[static_cast<std::size_t>(i)] = start + 0.001f * static_cast<float>(i);
    return samples;
}

} // namespace

TEST_F(StartedHost, ReadsTheEffectsTextsAndCapabilities)
{
    EXPECT_EQ(host.get_effect_name(), "Fake Gain");
    EXPECT_EQ(host.get_vendor_string(), "Morvane Tests");
    EXPECT_EQ(host.get_product_string(), "Fake Plugin");
    EXPECT_EQ(host.get_vendor_version(), 7);
    EXPECT_EQ(host.get_param_name(0), "Gain");
    EXPECT_EQ(host.get_param_label(0), "dB");
    EXPECT_EQ(host.get_param_display(0), "0.0") << "unity gain";
    // The fake writes nothing for parameters it does not have; the host's buffer was zeroed.
    EXPECT_EQ(host.get_param_name(5), "");
    EXPECT_EQ(host.get_param_label(5), "");
    EXPECT_EQ(host.get_param_display(5), "");
    EXPECT_EQ(host.can_do("receiveVstMidiEvent"), 1);
    EXPECT_EQ(host.can_do("offline"), -1);
    EXPECT_EQ(host.can_do("bypass"), 0);
}

TEST_F(StartedHost, ChangesAndNamesPrograms)
{
    EXPECT_EQ(host.get_program_name(), "Unity");
    host.set_program(2);
    EXPECT_EQ(host.get_program(), 2);
    host.set_program_name("My Loud Sound");
    EXPECT_EQ(host.get_program_name(), "My Loud Sound");
    EXPECT_EQ(host.get_program_name_indexed(0), std::optional<std::string>("Unity"));
    EXPECT_EQ(host.get_program_name_indexed(2), std::optional<std::string>("My Loud Sound"));
    EXPECT_EQ(host.get_program_name_indexed(3), std::nullopt) << "past the last program";
}

TEST_F(StartedHost, SetsParametersDirectlyAndFromText)
{
    host.set_parameter(0, 0.75f);
    EXPECT_EQ(host.get_parameter(0), 0.75f);
    EXPECT_TRUE(host.string_to_parameter(0, "0.25"));
    EXPECT_EQ(host.get_parameter(0), 0.25f);
    EXPECT_EQ(host.get_param_display(0), "-6.0") << "half the level";
    EXPECT_FALSE(host.string_to_parameter(9, "0.5")) << "no such parameter";
}

TEST_F(StartedHost, CopiesChunksExactlyAndHandsThemBack)
{
    // The fake's chunks are vectors of exactly these sizes: reading one byte more trips ASan.
    const std::vector<unsigned char> bank = host.get_chunk(false);
    ASSERT_EQ(bank.size(), 37u);
    for (std::size_t i = 0; i < bank.size(); ++i)
        EXPECT_EQ(bank[i], static_cast<unsigned char>(i * 7 + 1)) << "byte " << i;
    EXPECT_EQ(host.get_chunk(true), (std::vector<unsigned char>{'p', 'r', 'o', 'g', '0'}));

    const std::vector<unsigned char> program{9, 8, 7};
    EXPECT_EQ(host.set_chunk(program, true), 1);
    EXPECT_EQ(host.get_chunk(true), program);
    EXPECT_EQ(host.get_chunk(false), bank) << "the bank is another chunk";
}

TEST_F(StartedHost, ReadsParameterAndPinProperties)
{
    const std::optional<vst2::VstParameterProperties> gain = host.get_parameter_properties(0);
    ASSERT_TRUE(gain.has_value());
    EXPECT_STREQ(gain->label, "Gain");
    EXPECT_STREQ(gain->shortLabel, "Gn");
    EXPECT_EQ(gain->flags, vst2::kVstParameterCanRamp);
    EXPECT_FALSE(host.get_parameter_properties(1).has_value()) << "no such parameter: 0";

    const std::optional<vst2::VstPinProperties> in = host.get_input_properties(0);
    ASSERT_TRUE(in.has_value());
    EXPECT_STREQ(in->label, "Fake In L");
    EXPECT_EQ(in->flags, vst2::kVstPinIsActive | vst2::kVstPinIsStereo);
    const std::optional<vst2::VstPinProperties> out = host.get_output_properties(1);
    ASSERT_TRUE(out.has_value());
    EXPECT_STREQ(out->shortLabel, "OutR");
    EXPECT_FALSE(host.get_output_properties(2).has_value()) << "no third pin";
}

TEST_F(StartedHost, RunsTheAudioThroughThePlugin)
{
    host.set_parameter(0, 0.25f);
    std::vector<float> in_left = ramp(0.1f), in_right = ramp(-0.5f);
    std::vector<float> out_left(block, 9.0f), out_right(block, 9.0f);
    float* inputs[] = {in_left.data(), in_right.data()};
    float* outputs[] = {out_left.data(), out_right.data()};
    ASSERT_TRUE(host.process(inputs, outputs, block));
    for (std::size_t i = 0; i < out_left.size(); ++i)
    {
        ASSERT_FLOAT_EQ(out_left[i], 0.5f * in_left[i]) << "left, frame " << i;
        ASSERT_FLOAT_EQ(out_right[i], 0.5f * in_right[i]) << "right, frame " << i;
    }

    // The plug-in reads two inputs and writes two outputs whatever the caller gives.
    ASSERT_TRUE(host.process(std::span(inputs, 1), std::span(outputs, 1), block));
    EXPECT_FLOAT_EQ(out_left[10], 0.5f * in_left[10]);
    ASSERT_TRUE(host.process(std::span(inputs, 1), outputs, block));
    EXPECT_EQ(out_right, std::vector<float>(block, 0.0f)) << "the missing right input is silent";
}

TEST_F(StartedHost, RefusesBlocksTheEffectWasNotPreparedFor)
{
    std::vector<float> samples(block);
    float* channels[] = {samples.data(), samples.data()};
    EXPECT_FALSE(host.process(channels, channels, block + 1)) << "more than the block size";
    EXPECT_FALSE(host.process(channels, channels, -1));
    host.suspend();
    EXPECT_FALSE(host.process(channels, channels, block)) << "a suspended effect";
    host.resume();
    EXPECT_TRUE(host.process(channels, channels, block));
}

TEST_F(StartedHost, SendsMidiEventsAndKeepsCopiesOfThoseItGetsBack)
{
    MidiEventList events(5);
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(events.add(i * 10, 0xB0, static_cast<unsigned char>(20 + i), 64));
    EXPECT_FALSE(events.add(60, 0x90, 60, 100)) << "no room past the capacity";
    EXPECT_EQ(host.send_events(events), 1);
    events.clear();
    EXPECT_EQ(events.use_events()->numEvents, 0);

    const std::vector<vst2::VstEvent> back = host.get_received_events();
    ASSERT_EQ(back.size(), 5u) << "the plug-in got every event and sent it back";
    for (int i = 0; i < 5; ++i)
    {
        vst2::VstMidiEvent midi;
        std::memcpy(&midi, &back[static_cast<std::size_t>(i)], sizeof(midi));
        EXPECT_EQ(midi.type, vst2::kVstMidiType);
        EXPECT_EQ(midi.byteSize, 32);
        EXPECT_EQ(midi.deltaFrames, i * 10);
        EXPECT_EQ(static_cast<unsigned char>(midi.midiData[0]), 0xB0);
        EXPECT_EQ(midi.midiData[1], 20 + i);
        EXPECT_EQ(midi.midiData[2], 64);
    }
    host.clear_received_events();
    EXPECT_TRUE(host.get_received_events().empty());
}
