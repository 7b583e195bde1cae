#include "plux/midi/MidiInCcMixin.hpp"

#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

#include "plux/midi/MidiCtrl.hpp"
#include "plux/midi/MidiRegSettings.hpp"
#include "plux/midi/MidiTestUtil.hpp"
#include "sys/RegistrySandbox.hpp"

using midi_test::Ctrl;
using plux::MidiChannelState;
using plux::MidiCtrl;

namespace
{

constexpr int nrpn(int number)
{
    return MidiCtrl::make_id(MidiCtrl::kind_nrpn, number);
}

constexpr int rpn(int number)
{
    return MidiCtrl::make_id(MidiCtrl::kind_rpn, number);
}

class MidiInCcMixinTest : public testing::Test
{
protected:
    MidiInCcMixinTest()
    {
        reg.init("Morvane");
        input.init(&receiver);
        input.set_reg_settings(&reg);
    }

    void send(int chn, std::initializer_list<std::pair<int, int>> ccs)
    {
        for (const auto& [ctrl, value] : ccs)
        {
            input.process_msg(0xB0 | chn, ctrl, value);
        }
    }

    plux::MidiRegSettings reg{test::sandbox_key_path()};
    midi_test::RecordingReceiver receiver;
    midi_test::TestInput input;
};

} // namespace

TEST_F(MidiInCcMixinTest, StandardLayoutAddressesNrpn3)
{
    send(0, {{99, 0}, {98, 3}, {6, 64}, {38, 0}});
    EXPECT_EQ(input.ctrls, (std::vector<Ctrl>{{0, nrpn(3), 8192}, {0, nrpn(3), 8192}}));
    EXPECT_FLOAT_EQ(MidiCtrl::value_to_nrm(8192), 0.50003052f);
    EXPECT_EQ(receiver.calls, (std::vector<std::string>{"nrpn 0 3 8192", "nrpn 0 3 8192"}))
        << "the number controllers alone reach nobody";
}

TEST_F(MidiInCcMixinTest, OldLayoutSwapsTheNumberControllers)
{
    ASSERT_EQ(reg.set_nrpn_compat(0), 0);
    send(0, {{99, 0}, {98, 3}, {6, 64}, {38, 0}});
    EXPECT_EQ(input.ctrls.back(), (Ctrl{0, nrpn(384), 8192})) << "the same bytes address NRPN 384";
    EXPECT_EQ(input.use_chn(0).nrpn_values[3], 0) << "NRPN 3 was not touched";
    send(0, {{101, 0}, {100, 1}, {6, 1}});
    EXPECT_EQ(input.ctrls.back(), (Ctrl{0, rpn(128), 0}));
}

TEST_F(MidiInCcMixinTest, DataEntryWithoutSelectionAddressesThePitchBendRange)
{
    EXPECT_EQ(input.use_chn(2).bend_range, 256) << "two semitones at start";
    send(2, {{6, 12}});
    EXPECT_EQ(input.ctrls, (std::vector<Ctrl>{{2, rpn(0), 12 * 128}}));
    EXPECT_EQ(input.use_chn(2).bend_range, 12 * 128);
    EXPECT_EQ(receiver.calls, (std::vector<std::string>{"rpn 2 0 1536"}));
}

struct RpnCase
{
    const char* what;
    std::vector<std::pair<int, int>> ccs;
    Ctrl last;
    int tuning;

    friend void PrintTo(const RpnCase& c, std::ostream* os) { *os << c.what; }
};

class MidiInCcMixinRpn : public MidiInCcMixinTest, public testing::WithParamInterface<RpnCase>
{
};

TEST_P(MidiInCcMixinRpn, StoresAndPassesOnTheAddressedValue)
{
    const RpnCase& c = GetParam();
    for (const auto& [ctrl, value] : c.ccs)
    {
        input.process_cc(1, ctrl, value);
    }
    ASSERT_FALSE(input.ctrls.empty());
    EXPECT_EQ(input.ctrls.back(), c.last);
    EXPECT_EQ(input.use_chn(1).tuning, c.tuning);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, MidiInCcMixinRpn,
    testing::Values(
        RpnCase{"FineTuning",
                {{101, 0}, {100, 1}, {6, 32}, {38, 5}},
                {1, rpn(1), 32 * 128 + 5},
                32 * 128 + 5},
        RpnCase{"CoarseTuningTakesTheMsbOnly",
                {{101, 0}, {100, 2}, {6, 70}, {38, 9}},
                {1, rpn(2), 70},
                70 * 128},
        RpnCase{"OtherRpnsStoreNothing", {{101, 0}, {100, 5}, {6, 70}}, {1, rpn(5), 0}, 8192},
        RpnCase{"NullRpnResets",
                {{101, 0}, {100, 1}, {6, 1}, {101, 127}, {100, 127}, {6, 3}},
                {1, rpn(0), 256},
                8192},
        RpnCase{"HighNrpnsAlwaysGive0", {{99, 16}, {98, 0}, {6, 64}}, {1, nrpn(2048), 0}, 8192}),
    [](const auto& info) { return info.param.what; });

TEST_F(MidiInCcMixinTest, NrpnValuesAreKeptPerNumberAndChannel)
{
    send(0, {{99, 0}, {98, 1}, {6, 10}, {98, 2}, {6, 20}, {98, 1}, {38, 7}});
    EXPECT_EQ(input.ctrls.back(), (Ctrl{0, nrpn(1), 10 * 128 + 7}))
        << "NRPN 1 kept its MSB while NRPN 2 was set";
    send(3, {{6, 1}});
    EXPECT_EQ(input.ctrls.back(), (Ctrl{3, rpn(0), 128})) << "channel 3 has its own selection";
}

TEST_F(MidiInCcMixinTest, OtherControllersAre7BitControlsOfTheirOwn)
{
    send(4, {{7, 127}, {39, 1}, {127, 127}});
    EXPECT_EQ(input.ctrls,
              (std::vector<Ctrl>{{4, 7 << 16, 16256}, {4, 39 << 16, 128}, {4, 127 << 16, 16256}}))
        << "controller c + 32 is not combined with c";
    EXPECT_EQ(receiver.calls,
              (std::vector<std::string>{"cc 4 7 127", "cc 4 39 1", "cc 4 127 127"}));
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
    EXPECT_EQ(receiver.calls,
              (std::vector<std::string>{"note_on 0 60 100", "note_off 1 61 64", "note_off 2 62 30",
                                        "poly_pressure 0 60 5", "chn_pressure 0 9",
                                        "chn_msg 3 14 1 64", "cc 0 0 2", "cc 0 32 1",
                                        "prog_change 0 16645", "note_on 0 127 64"}))
        << "velocity 0 is a note off; status F0 and up and stray data bytes are ignored";
    EXPECT_EQ(input.use_chn(3).pitch_bend, 64 * 128 + 1);
    EXPECT_TRUE(input.use_chn(0).notes[60]);
    EXPECT_FALSE(input.use_chn(1).notes[61]);
}

TEST_F(MidiInCcMixinTest, PedalsFollowTheirControllers)
{
    input.process_msg(0xB5, 64, 64);
    input.process_msg(0xB5, 66, 127);
    EXPECT_TRUE(input.use_chn(5).sustain);
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
