// The plug-in frame as a VST 2 host sees it, through the effect record's dispatcher and callbacks.
// Each test runs twice: with the effect built in this process through the entry, and with the
// test plug-in module loaded as a DAW loads it.
#include <bit>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>

#include "EffectRig.hpp"
#include "plux/prog/BankManager.hpp"

namespace
{

// Program 0 ("Base") as stored: bit patterns of its eight values.
const std::vector<std::uint32_t> base_values{0x3F149A78, 0,          0,          0,
                                             0x3F000000, 0x3E800000, 0x3F000000, 0x3F000000};

std::uint32_t be32(const std::vector<unsigned char>& b, std::size_t at)
{
    return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) |
           (std::uint32_t{b[at + 2]} << 8) | std::uint32_t{b[at + 3]};
}

// count big-endian words of a chunk from at.
std::vector<std::uint32_t> be32s(const std::vector<unsigned char>& b, std::size_t at, int count)
{
    std::vector<std::uint32_t> words;
    for (int i = 0; i < count; ++i)
    {
        words.push_back(be32(b, at + 4 * static_cast<std::size_t>(i)));
    }
    return words;
}

// A bank of programs of equal values, as an older version or another effect saved it.
std::vector<unsigned char> bank_chunk(int nbr_prog, int nbr_values)
{
    plux::BankManager bank;
    bank.resize(nbr_prog);
    for (int i = 0; i < nbr_prog; ++i)
    {
        bank.use_prog(i).use_values().assign(static_cast<std::size_t>(nbr_values), 0.5f);
        bank.use_prog(i).set_name("Small " + std::to_string(i));
    }
    std::vector<unsigned char> data(static_cast<std::size_t>(bank.get_size()));
    EXPECT_EQ(bank.write(std::span(reinterpret_cast<std::uint8_t*>(data.data()), data.size())), 0);
    return data;
}

// A loaded and started effect (44100 Hz, blocks of 512) whose start-up callbacks are forgotten.
class Vst2EffectTest : public plux_test::EffectSourceTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(plux_test::load(host, GetParam())) << host.get_error();
        ASSERT_TRUE(host.start(44100.0f, 512));
        host.use_log().clear();
    }

    // The parameters' values as the host reads them, bit patterns.
    std::vector<std::uint32_t> values()
    {
        std::vector<std::uint32_t> bits;
        for (int i = 0; i < 8; ++i)
        {
            bits.push_back(std::bit_cast<std::uint32_t>(host.get_parameter(i)));
        }
        return bits;
    }
};

} // namespace

TEST_P(Vst2EffectTest, AnnouncesItsEffectRecord)
{
    const vst2::AEffect* e = host.use_effect();
    // Magic 'VstP', ID 'TXmv', version, programs, parameters, inputs, outputs, delay.
    EXPECT_EQ(
        (std::vector<vst2::VstInt32>{e->magic, e->uniqueID, e->version, e->numPrograms,
                                     e->numParams, e->numInputs, e->numOutputs, e->initialDelay}),
        (std::vector<vst2::VstInt32>{0x56737450, 0x54586D76, 1, 8, 8, 2, 2, 0}));
    EXPECT_EQ(e->flags, vst2::effFlagsCanReplacing | vst2::effFlagsHasEditor)
        << "no chunk storage: the built-in programs carry no extra data";
    EXPECT_EQ(e->processDoubleReplacing, nullptr);
}

TEST_P(Vst2EffectTest, NamesNumbersAndCapabilities)
{
    EXPECT_EQ(host.get_effect_name(), "Morvane");
    EXPECT_EQ(host.get_vendor_string(), "Tarvex");
    EXPECT_EQ(host.get_product_string(), "Tarvex Morvane 1.60");
    EXPECT_EQ(host.get_vendor_version(), 352) << "0x160 for version 1.6";
    // VST version, tail, keys, 'NvEf', category.
    EXPECT_EQ((std::vector<vst2::VstIntPtr>{
                  host.dispatch(vst2::effGetVstVersion), host.dispatch(vst2::effGetTailSize),
                  host.dispatch(vst2::effKeysRequired), host.dispatch(vst2::effIdentify),
                  host.dispatch(vst2::effGetPlugCategory)}),
              (std::vector<vst2::VstIntPtr>{2400, 0, 1, 0x4E764566, vst2::kPlugCategEffect}));
    // Texts match exactly: "receivevsttimeinfo" is none.
    std::vector<vst2::VstIntPtr> answers;
    for (const char* text : {"receiveVstMidiEvent", "receiveVstEvents", "sendVstMidiEvent",
                             "sendVstEvents", "receiveVstTimeInfo", "hasCockosExtensions",
                             "hasQuorraExtensions", "bypass", "receivevsttimeinfo"})
    {
        answers.push_back(host.can_do(text));
    }
    EXPECT_EQ(answers, (std::vector<vst2::VstIntPtr>{1, 1, 1, 1, 1, 0xBEEF0000, 0xBEEF0000, 0, 0}));
}

TEST_P(Vst2EffectTest, ParameterTexts)
{
    EXPECT_EQ(host.get_param_name(0), "Cutoff");
    EXPECT_EQ(host.get_param_label(0), "Hz");
    EXPECT_EQ(host.get_param_display(0), "5960.92") << "program 0's cutoff, 40 + 0.580482 × 10200";
    EXPECT_EQ(host.get_param_name(7), "Very Long Parameter Na") << "22 characters fit the field";
    EXPECT_EQ(host.get_param_name(8), "") << "no parameter 8";
    EXPECT_EQ(host.get_param_name(-1), "");
    EXPECT_EQ(host.get_parameter(8), 0.0f);
    EXPECT_EQ(host.dispatch(vst2::effCanBeAutomated, 0), 1);
    EXPECT_EQ(host.dispatch(vst2::effCanBeAutomated, 99), 1) << "indices beyond the parameters";
}

TEST_P(Vst2EffectTest, ParameterAndPinProperties)
{
    const auto cutoff = host.get_parameter_properties(0);
    ASSERT_TRUE(cutoff.has_value());
    EXPECT_EQ(cutoff->flags, vst2::kVstParameterCanRamp);
    EXPECT_STREQ(cutoff->label, "Cutoff");
    EXPECT_STREQ(cutoff->shortLabel, "Cutoff");

    const auto bands = host.get_parameter_properties(1);
    ASSERT_TRUE(bands.has_value());
    EXPECT_EQ(bands->flags, vst2::kVstParameterUsesIntegerMinMax);
    EXPECT_EQ(bands->minInteger, 1);
    EXPECT_EQ(bands->maxInteger, 16);

    const auto routing = host.get_parameter_properties(2);
    ASSERT_TRUE(routing.has_value());
    EXPECT_EQ(routing->flags, vst2::kVstParameterIsSwitch) << "a range of two values is a switch";
    EXPECT_EQ(routing->minInteger, 0);
    EXPECT_EQ(routing->maxInteger, 0) << "and carries no integer range";

    const auto long_name = host.get_parameter_properties(7);
    ASSERT_TRUE(long_name.has_value());
    EXPECT_STREQ(long_name->label, "Very Long Parameter Name");
    EXPECT_STREQ(long_name->shortLabel, "Very Lo") << "seven characters and the zero";

    EXPECT_FALSE(host.get_parameter_properties(8).has_value());

    const auto in0 = host.get_input_properties(0);
    ASSERT_TRUE(in0.has_value());
    EXPECT_EQ(in0->flags, vst2::kVstPinIsActive | vst2::kVstPinIsStereo);
    EXPECT_STREQ(in0->label, "Left input");
    const auto in1 = host.get_input_properties(1);
    ASSERT_TRUE(in1.has_value());
    EXPECT_STREQ(in1->label, "Right input");
    const auto out1 = host.get_output_properties(1);
    ASSERT_TRUE(out1.has_value());
    EXPECT_STREQ(out1->label, "Right output");
    EXPECT_FALSE(host.get_input_properties(2).has_value());
    EXPECT_FALSE(host.get_output_properties(-1).has_value());
}

TEST_P(Vst2EffectTest, HostExtensionsForDisplayAndTextEntry)
{
    char text[256] = {};
    EXPECT_EQ(host.vendor_specific(7, 3, text, 0.25f), 0xBEEF);
    EXPECT_STREQ(text, "0.5") << "Gain at normalised 0.25 of 0..2";
    EXPECT_EQ(host.vendor_specific(7, 8, text, 0.25f), 0) << "no parameter 8";

    std::strcpy(text, "1.5");
    EXPECT_EQ(host.vendor_specific(27, 3, text, 0.0f), 0xBEEF);
    EXPECT_STREQ(text, "0.7500000") << "the normalised value with seven decimals";

    std::strcpy(text, "");
    EXPECT_EQ(host.vendor_specific(27, 0, text, 0.0f), 0xBEEF) << "parameter 0, empty text";
    std::strcpy(text, "abc");
    EXPECT_EQ(host.vendor_specific(27, 0, text, 0.0f), 0);
    std::strcpy(text, "");
    EXPECT_EQ(host.vendor_specific(27, 3, text, 0.0f), 0)
        << "only parameter 0 answers an empty text";
    EXPECT_EQ(host.vendor_specific(5, 0, text, 0.0f), 0) << "other sub-opcodes";
}

TEST_P(Vst2EffectTest, TextEntryGoesThroughSetParameter)
{
    EXPECT_TRUE(host.string_to_parameter(3, "1.5"));
    EXPECT_FLOAT_EQ(host.get_parameter(3), 0.75f);
    EXPECT_FALSE(host.string_to_parameter(3, "loud"));
    EXPECT_FLOAT_EQ(host.get_parameter(3), 0.75f);
    EXPECT_TRUE(host.string_to_parameter(3, "7")) << "clamped to the range";
    EXPECT_FLOAT_EQ(host.get_parameter(3), 1.0f);
    EXPECT_FALSE(host.string_to_parameter(8, "1"));
    EXPECT_EQ(host.dispatch(vst2::effString2Parameter, 3, 0, nullptr), 1)
        << "a null text answers 1";
}

TEST_P(Vst2EffectTest, ValuesFromTheHostAreLimitedAndNaNIsIgnored)
{
    host.set_parameter(3, 0.5f);
    host.set_parameter(3, std::numeric_limits<float>::quiet_NaN());
    EXPECT_FLOAT_EQ(host.get_parameter(3), 0.5f);
    host.set_parameter(3, 7.0f);
    EXPECT_FLOAT_EQ(host.get_parameter(3), 1.0f);
    host.set_parameter(3, -1.0f);
    EXPECT_FLOAT_EQ(host.get_parameter(3), 0.0f);
    host.set_parameter(-1, 0.5f);
    host.set_parameter(8, 0.5f);
    EXPECT_EQ(host.use_log().count(vst2::audioMasterAutomate), 0u) << "the host is not told back";
}

TEST_P(Vst2EffectTest, ProgramsComeFromTheBuiltInBank)
{
    std::vector<std::string> names;
    for (int i = 0; i < 9; ++i)
    {
        names.push_back(host.get_program_name_indexed(i).value_or("(none)"));
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{"Base", "Monkey on the moon", "No matter", "The Zuk smooth",
                                        "Valkiry dance", "The man who said zog zog",
                                        "Yellow cheese smells bad", "Supra cat", "(none)"}));
    EXPECT_EQ(host.get_program(), 0);
    EXPECT_EQ(host.get_program_name(), "Base");
    EXPECT_EQ(values(), base_values);

    host.set_program(7);
    EXPECT_EQ(host.get_program(), 7);
    EXPECT_EQ(host.get_program_name(), "Supra cat");
    EXPECT_EQ(std::bit_cast<std::uint32_t>(host.get_parameter(1)), 0x3F28ADC2u);
    host.set_program(8);
    EXPECT_EQ(host.get_program(), 7) << "a program beyond the bank is ignored";
}

TEST_P(Vst2EffectTest, ProgramsKeepTheirEditsAndNames)
{
    host.set_parameter(3, 0.9f);
    host.set_program(1);
    EXPECT_FLOAT_EQ(host.get_parameter(3), std::bit_cast<float>(0x3F4B0000u));
    host.set_program(0);
    EXPECT_FLOAT_EQ(host.get_parameter(3), 0.9f) << "the edit stayed with program 0";

    host.set_program_name("A program name that is much longer than sixty-three characters, really");
    EXPECT_EQ(host.get_program_name(), "A program name that is")
        << "22 characters in the host's field";
    EXPECT_EQ(host.get_program_name_indexed(0).value_or(""),
              "A program name that is much longer than sixty-three characters,")
        << "63 kept";
}

TEST_P(Vst2EffectTest, OneProgramChunkIs108BytesAndLoadsIntoTheCurrentProgram)
{
    const auto chunk = host.get_chunk(true);
    ASSERT_EQ(chunk.size(), 108u);
    // The tag, name field 64 and 8 values, no extra data.
    EXPECT_EQ(be32s(chunk, 0, 3), (std::vector<std::uint32_t>{0, 0x00400008u, 0}));
    EXPECT_EQ(std::string(chunk.begin() + 12, chunk.begin() + 76), "Base" + std::string(60, '\0'))
        << "the name padded with zeros";
    EXPECT_EQ(be32s(chunk, 76, 8), base_values);

    host.set_program(2);
    ASSERT_EQ(host.set_chunk(chunk, true), 1);
    EXPECT_EQ(host.get_program(), 2);
    EXPECT_EQ(host.get_program_name(), "Base") << "program 2 took the chunk";
    EXPECT_EQ(values(), base_values);
}

TEST_P(Vst2EffectTest, BankChunkMatchesTheBuiltInBankAndRoundTrips)
{
    const auto bank = host.get_chunk(false);
    ASSERT_EQ(bank.size(), 872u);
    EXPECT_EQ(be32s(bank, 0, 2), (std::vector<std::uint32_t>{8, 108}));
    const auto file = plux_test::read_builtin_bank();
    ASSERT_EQ(file.size(), 880u);
    EXPECT_TRUE(std::equal(bank.begin(), bank.end(), file.begin() + 8))
        << "the body of the built-in bank";

    host.set_parameter(3, 0.125f);
    host.set_program_name("Mine");
    const auto edited = host.get_chunk(false);
    host.set_program(4);
    host.set_parameter(3, 1.0f);
    ASSERT_EQ(host.set_chunk(edited, false), 1);
    EXPECT_EQ(host.get_program(), 4) << "the current program stays";
    EXPECT_EQ(host.get_program_name_indexed(0).value_or(""), "Mine");
    EXPECT_FLOAT_EQ(host.get_parameter(3), std::bit_cast<float>(0x3EEEE362u))
        << "program 4 from the chunk";
    host.set_program(0);
    EXPECT_FLOAT_EQ(host.get_parameter(3), 0.125f);
    EXPECT_EQ(host.get_chunk(false), edited);
}

TEST_P(Vst2EffectTest, MalformedChunksChangeNothing)
{
    host.set_parameter(3, 0.3f);
    const auto bank = host.get_chunk(false);
    const auto one = host.get_chunk(true);
    for (std::size_t len :
         {std::size_t{1}, std::size_t{7}, std::size_t{8}, std::size_t{100}, bank.size() - 1})
    {
        EXPECT_EQ(host.set_chunk(std::span(bank.data(), len), false), 0) << "bank cut to " << len;
    }
    for (std::size_t len : {std::size_t{11}, std::size_t{75}, one.size() - 1})
    {
        EXPECT_EQ(host.set_chunk(std::span(one.data(), len), true), 0) << "program cut to " << len;
    }
    auto lying = bank;
    lying[3] = 200; // claims 200 programs
    EXPECT_EQ(host.set_chunk(lying, false), 0);
    EXPECT_FLOAT_EQ(host.get_parameter(3), 0.3f);
    EXPECT_EQ(host.get_chunk(false), bank) << "bank, names and values as they were";
}

TEST_P(Vst2EffectTest, ABankWithFewerProgramsKeepsIndicesInside)
{
    auto data = bank_chunk(3, 8);
    // Program 2's value 3 is a NaN.
    std::memcpy(&data[8 + 2 * 108 + 76 + 4 * 3], "\x7F\xC0\x00\x00", 4);

    host.set_program(6);
    host.set_parameter(3, 0.2f);
    ASSERT_EQ(host.set_chunk(data, false), 1);
    EXPECT_EQ(host.get_program(), 2) << "program 6 no longer exists";
    EXPECT_EQ(host.get_program_name(), "Small 2");
    EXPECT_FLOAT_EQ(host.get_parameter(3), 0.2f) << "a NaN in a program leaves the parameter";
    EXPECT_FLOAT_EQ(host.get_parameter(4), 0.5f);
    EXPECT_FALSE(host.get_program_name_indexed(3).has_value());
    host.set_program(5);
    EXPECT_EQ(host.get_program(), 2);
    EXPECT_EQ(host.use_effect()->numPrograms, 8) << "the host keeps the number it was told";
}

// What a host restores it must be able to save again with its project: chunks of another shape
// (an older version with fewer parameters, data of another effect) either take the effect's
// shape or are refused, never leaving a state that no chunk can hold.
TEST_P(Vst2EffectTest, RestoredChunksCanBeSavedAgain)
{
    const auto data = bank_chunk(2, 5);
    host.set_parameter(6, 0.125f);
    ASSERT_EQ(host.set_chunk(data, false), 1);
    EXPECT_FLOAT_EQ(host.get_parameter(4), 0.5f);
    EXPECT_FLOAT_EQ(host.get_parameter(6), 0.125f) << "a value the program lacks stays as it was";
    const auto bank = host.get_chunk(false);
    ASSERT_EQ(bank.size(), 8u + 2u * 108u) << "two programs of eight values";
    EXPECT_TRUE(std::isnan(std::bit_cast<float>(be32(bank, 8 + 108 + 76 + 4 * 6))))
        << "program 1 still leaves parameter 6 alone";
    EXPECT_EQ(host.set_chunk(bank, false), 1);
    EXPECT_EQ(host.get_chunk(false), bank);

    auto one = host.get_chunk(true);
    ASSERT_EQ(one.size(), 108u);
    one[11] = 4; // four bytes of extra data, which no other program has
    one.insert(one.end(), {1, 2, 3, 4});
    EXPECT_EQ(host.set_chunk(one, true), 0) << "the bank could not be saved any more";
    EXPECT_EQ(host.get_chunk(false), bank) << "and nothing changed";
}

TEST_P(Vst2EffectTest, ProcessesAudioInPlace)
{
    host.set_parameter(3, 0.25f); // gain 0.5
    std::vector<float> left(64, 1.0f);
    std::vector<float> right(64, -0.5f);
    float* io[] = {left.data(), right.data()};
    ASSERT_TRUE(host.process(io, io, 64));
    EXPECT_FLOAT_EQ(left[10], 0.5f);
    EXPECT_FLOAT_EQ(right[63], -0.25f);
}

// A controller sends NRPN 3 = 8192 (CC 99 = 0, CC 98 = 3, CC 6 = 64, CC 38 = 0): the default map
// binds every parameter i to NRPN i, and the change takes the road of MIDI control.
TEST_P(Vst2EffectTest, HostMidiDrivesTheParametersThroughTheDefaultMap)
{
    vst2host::MidiEventList events(4);
    events.add(0, 0xB0, 99, 0);
    events.add(0, 0xB0, 98, 3);
    events.add(1, 0xB0, 6, 64);
    events.add(2, 0xB0, 38, 0);
    EXPECT_EQ(host.send_events(events), 1);
    run_blocks(1, 512);
    EXPECT_FLOAT_EQ(host.get_parameter(3), 8192.0f / 16383.0f);
    const auto records = host.use_log().get_records();
    EXPECT_EQ(plux_test::filter(records, vst2::audioMasterBeginEdit).size(), 1u);
    const auto automates = plux_test::filter(records, vst2::audioMasterAutomate);
    ASSERT_FALSE(automates.empty());
    EXPECT_EQ(automates.back().index, 3);

    host.set_parameter(3, 0.9f);
    EXPECT_FLOAT_EQ(host.get_parameter(3), 8192.0f / 16383.0f)
        << "MIDI (125) holds it against the host (100)";
}

INSTANTIATE_TEST_SUITE_P(Load, Vst2EffectTest, testing::ValuesIn(plux_test::test_sources()),
                         [](const auto& info) { return plux_test::to_string(info.param); });
