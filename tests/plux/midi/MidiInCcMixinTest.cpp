#include "plux/midi/MidiInCcMixin.hpp"

#include <gtest/gtest.h>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "plux/midi/MidiRegSettings.hpp"
#include "plux/midi/MidiTestUtil.hpp"
#include "sys/RegistrySandbox.hpp"

using plux::MidiChannelState;

namespace
{

class MidiInCcMixinTest : public testing::Test
{
protected:
    MidiInCcMixinTest()
    {
        reg.init("Morvane");
        input.init(&receiver);
        input.set_reg_settings(&reg);
    }

    // Control changes as "controller=value ...".
    void send(int chn, const std::string& ccs)
    {
        std::istringstream in(ccs);
        int ctrl = 0;
        int value = 0;
        char equals = 0;
        while (in >> ctrl >> equals >> value)
        {
            input.process_msg(0xB0 | chn, ctrl, value);
        }
    }

    plux::MidiRegSettings reg{test::sandbox_key_path()};
    midi_test::RecordingReceiver receiver;
    midi_test::TestInput input;
};

// Control changes on channel 1 and what they become: the controls decoded, the receiver's calls,
// and the channel's tuning and pitch-bend range.
struct DecodeCase
{
    const char* what;
    const char* ccs;
    const char* ctrls;
    const char* calls;
    int tuning;
    int bend_range;

    friend void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.what; }
};

class MidiInCcMixinDecode : public MidiInCcMixinTest, public testing::WithParamInterface<DecodeCase>
{
};

} // namespace

TEST_P(MidiInCcMixinDecode, StoresAndPassesOnTheAddressedValue)
{
    const DecodeCase& c = GetParam();
    EXPECT_EQ(input.use_chn(1).bend_range, 256) << "two semitones at start";
    send(1, c.ccs);
    EXPECT_EQ(input.ctrls, c.ctrls);
    if (c.calls != nullptr)
    {
        EXPECT_EQ(receiver.calls, c.calls);
    }
    EXPECT_EQ(input.use_chn(1).tuning, c.tuning);
    EXPECT_EQ(input.use_chn(1).bend_range, c.bend_range);
}

// The number controllers alone reach nobody; controller c + 32 is not combined with c.
INSTANTIATE_TEST_SUITE_P(
    Numbers, MidiInCcMixinDecode,
    testing::Values(
        DecodeCase{"StandardLayoutAddressesNrpn3", "99=0 98=3 6=64 38=0",
                   "1 NRPN 3 = 8192, 1 NRPN 3 = 8192", "nrpn 1 3 8192, nrpn 1 3 8192", 8192, 256},
        DecodeCase{"DataEntryWithoutSelectionAddressesThePitchBendRange", "6=12", "1 RPN 0 = 1536",
                   "rpn 1 0 1536", 8192, 1536},
        DecodeCase{"FineTuning", "101=0 100=1 6=32 38=5", "1 RPN 1 = 4096, 1 RPN 1 = 4101", nullptr,
                   32 * 128 + 5, 256},
        DecodeCase{"CoarseTuningTakesTheMsbOnly", "101=0 100=2 6=70 38=9",
                   "1 RPN 2 = 70, 1 RPN 2 = 70", nullptr, 70 * 128, 256},
        DecodeCase{"OtherRpnsStoreNothing", "101=0 100=5 6=70", "1 RPN 5 = 0", nullptr, 8192, 256},
        DecodeCase{"NullRpnResets", "101=0 100=1 6=1 101=127 100=127 6=3",
                   "1 RPN 1 = 128, 1 RPN 0 = 256", nullptr, 8192, 256},
        DecodeCase{"HighNrpnsAlwaysGive0", "99=16 98=0 6=64", "1 NRPN 2048 = 0", nullptr, 8192,
                   256},
        DecodeCase{"OtherControllersAre7BitControlsOfTheirOwn", "7=127 39=1 127=127",
                   "1 CC 7 = 16256, 1 CC 39 = 128, 1 CC 127 = 16256",
                   "cc 1 7 127, cc 1 39 1, cc 1 127 127", 8192, 256}),
    [](const auto& info) { return info.param.what; });

TEST_F(MidiInCcMixinTest, OldLayoutSwapsTheNumberControllers)
{
    ASSERT_EQ(reg.set_nrpn_compat(0), 0);
    send(0, "99=0 98=3 6=64 38=0");
    EXPECT_EQ(input.ctrls, "0 NRPN 384 = 8192, 0 NRPN 384 = 8192")
        << "the same bytes address NRPN 384";
    EXPECT_EQ(input.use_chn(0).nrpn_values[3], 0) << "NRPN 3 was not touched";
    send(1, "101=0 100=1 6=1");
    EXPECT_TRUE(input.ctrls.ends_with(", 1 RPN 128 = 0")) << input.ctrls;
}

TEST_F(MidiInCcMixinTest, NrpnValuesAreKeptPerNumberAndChannel)
{
    send(0, "99=0 98=1 6=10 98=2 6=20 98=1 38=7");
    EXPECT_TRUE(input.ctrls.ends_with(", 0 NRPN 1 = 1287"))
        << "NRPN 1 kept its MSB (10) while NRPN 2 was set: " << input.ctrls;
    send(3, "6=1");
    EXPECT_TRUE(input.ctrls.ends_with(", 3 RPN 0 = 128")) << "channel 3 has its own selection";
}

TEST_F(MidiInCcMixinTest, ChannelMessagesReachTheReceiver)
{
    input.process_msg(0x90, 60, 100);
    input.process_msg(0x91, 61, 0);
    input.process_msg(0x82, 62, 30);
    input.process_msg(0xA0, 60, 5);
    input.process_msg(0xD0, 9, 0);
    input.process_msg(0xE3, 0x01, 0x40);
    input.process_msg(0xB0, 0, 2);
    input.process_msg(0xB0, 32, 1);
    input.process_msg(0xC0, 5, 0);
    input.process_msg(0xF8, 0, 0);
    input.process_msg(0x40, 1, 2);
    input.process_msg(0x90, 0xFF, 0xC0); // data bytes taken as 7-bit
    input.process_msg(0xB5, 64, 64);
    input.process_msg(0xB5, 66, 127);
    EXPECT_EQ(receiver.calls, "note_on 0 60 100, note_off 1 61 64, note_off 2 62 30, "
                              "poly_pressure 0 60 5, chn_pressure 0 9, chn_msg 3 14 1 64, "
                              "cc 0 0 2, cc 0 32 1, prog_change 0 16645, note_on 0 127 64, "
                              "cc 5 64 64, cc 5 66 127")
        << "velocity 0 is a note off; status F0 and up and stray data bytes are ignored";
    EXPECT_EQ(input.use_chn(3).pitch_bend, 64 * 128 + 1);
    EXPECT_TRUE(input.use_chn(0).notes[60]);
    EXPECT_FALSE(input.use_chn(1).notes[61]);
    EXPECT_TRUE(input.use_chn(5).sustain) << "pedals follow their controllers";
    EXPECT_TRUE(input.use_chn(5).sostenuto);
    input.process_msg(0xB5, 64, 63);
    EXPECT_FALSE(input.use_chn(5).sustain) << "down above 63 only";
}

TEST(MidiChannelState, SerialisedStateReadsBackAndMalformedDataChangeNothing)
{
    MidiChannelState state;
    state.param_type = MidiChannelState::param_type_nrpn;
    state.nrpn_number = 1234;
    state.nrpn_values[2047] = 16383;
    state.tuning = 100;
    state.sustain = true;
    state.notes.set(127);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(state.get_size()));
    ASSERT_EQ(state.write(bytes), 0);

    MidiChannelState copy;
    ASSERT_EQ(copy.read(bytes), 0);
    EXPECT_EQ(copy.nrpn_number, 1234);
    EXPECT_EQ(copy.nrpn_values[2047], 16383);
    EXPECT_EQ(copy.tuning, 100);
    EXPECT_TRUE(copy.sustain);
    EXPECT_TRUE(copy.notes[127]);
    EXPECT_EQ(copy.param_type, MidiChannelState::param_type_nrpn);

    MidiChannelState other;
    std::vector<std::uint8_t> bad = bytes;
    bad[4] = 0xFF; // nrpn_number above 14 bits
    EXPECT_NE(other.read(bad), 0);
    EXPECT_NE(other.read(std::span(bytes).first(bytes.size() - 1)), 0) << "cut short";
    EXPECT_EQ(other.nrpn_number, 0) << "a failed read leaves the state as it was";
    EXPECT_EQ(other.tuning, 8192);
}
