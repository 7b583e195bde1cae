// The MIDI control manager and what it is made of: control identifiers, the binding tables,
// auto-bind as the editor arms it, and the registry values of MIDI control.
#include "plux/midi/MidiMgr.hpp"

#include <gtest/gtest.h>
#include <ostream>

#include "plux/midi/MidiAutoBindMgr.hpp"
#include "plux/midi/MidiCtrl.hpp"
#include "plux/midi/MidiMapStore.hpp"
#include "plux/midi/MidiRegSettings.hpp"
#include "plux/midi/MidiTestUtil.hpp"
#include "sys/PersistentKeyList.hpp"
#include "sys/RegistrySandbox.hpp"

using plux::MidiAutoBindMgr;
using plux::MidiCtrl;
using plux::MidiCtrlMap;
using plux::MidiMapStore;
using plux::MidiMgr;

namespace
{

constexpr int cc7 = 7 << 16;
constexpr int cc8 = 8 << 16;
constexpr int nrpn_kind = MidiCtrl::kind_nrpn;
constexpr int rpn_kind = MidiCtrl::kind_rpn;

int ctrl_of(const MidiMgr& mgr, int param)
{
    int ctrl_id = -1;
    return mgr.get_ctrl_for_param(param, ctrl_id) ? ctrl_id : -1;
}

int param_of(const MidiMgr& mgr, int ctrl_id)
{
    int param = -1;
    float nrm = 0.0f;
    mgr.ctrl_to_param(ctrl_id, 0, param, nrm);
    return param;
}

int param_in(const MidiMapStore& store, int ctrl_id)
{
    return store.read([ctrl_id](const MidiCtrlMap& map) { return map.find_param(ctrl_id); });
}

class MidiMgrTest : public testing::Test
{
protected:
    midi_test::MidiRig rig;
    MidiMgr& mgr = rig.mgr;
};

} // namespace

TEST(MidiCtrl, IdentifiersTextsAndValues)
{
    EXPECT_EQ(MidiCtrl::make_id(7, 5), 7 * 65536) << "a control change keeps no number";
    EXPECT_EQ(MidiCtrl::make_id(nrpn_kind, 3), 99 * 65536 + 3);
    EXPECT_EQ(MidiCtrl::make_id(rpn_kind, 0), 101 * 65536);
    EXPECT_EQ(MidiMgr::ctrl_to_text(cc7), "CC 7");
    EXPECT_EQ(MidiMgr::ctrl_to_text(MidiCtrl::make_id(nrpn_kind, 3)), "NRPN 3");
    EXPECT_EQ(MidiMgr::ctrl_to_text(MidiCtrl::make_id(rpn_kind, 0)), "RPN 0");
    EXPECT_EQ(MidiCtrl::nrm_to_value(1.0f), 16383);
    EXPECT_EQ(MidiCtrl::nrm_to_value(0.5f), 8192) << "rounds to the nearest step";
    EXPECT_EQ(MidiCtrl::nrm_to_value(2.0f), 16383) << "limited to the range";
    EXPECT_EQ(MidiCtrl::nrm_to_value(-1.0f), 0);
    EXPECT_FLOAT_EQ(MidiCtrl::value_to_nrm(16383), 1.0f);
    EXPECT_FLOAT_EQ(MidiCtrl::value_to_nrm(8192), 0.50003052f);
}

TEST_F(MidiMgrTest, EachControlAndEachParameterIsBoundAtMostOnce)
{
    mgr.bind_param(5, cc7);
    mgr.bind_param(3, cc7);
    EXPECT_EQ(param_of(mgr, cc7), 3) << "the control leaves its old parameter";
    EXPECT_FALSE(mgr.is_param_bound(5)) << "parameter 5 lost its only control";

    mgr.bind_param(3, cc8);
    EXPECT_EQ(ctrl_of(mgr, 3), cc8) << "a parameter keeps only its latest control";
    EXPECT_EQ(param_of(mgr, cc7), -1) << "CC 7 was released";

    mgr.bind_param(4, nrpn_kind, 300);
    int kind = 0;
    int number = 0;
    ASSERT_TRUE(mgr.get_ctrl_for_param(4, kind, number));
    EXPECT_EQ(kind, nrpn_kind);
    EXPECT_EQ(number, 300);

    mgr.unbind_param(4);
    EXPECT_FALSE(mgr.is_param_bound(4));
    EXPECT_EQ(param_of(mgr, MidiCtrl::make_id(nrpn_kind, 300)), -1);

    mgr.bind_param(20, cc7);
    mgr.set_default_map();
    EXPECT_EQ(midi_test::bindings(mgr),
              (std::vector<std::string>{"NRPN 0", "NRPN 1", "NRPN 2", "NRPN 3", "NRPN 4", "NRPN 5",
                                        "NRPN 6", "NRPN 7"}))
        << "the default map binds every parameter to its NRPN";
    EXPECT_FALSE(mgr.is_param_bound(20)) << "the table was emptied first";
}

TEST_F(MidiMgrTest, ConvertsBetweenControlValuesAndParameterValues)
{
    mgr.bind_param(1, 127 << 16);
    int param = -1;
    float nrm = 0.0f;
    mgr.ctrl_to_param(127 << 16, 127 * 128, param, nrm);
    EXPECT_EQ(param, 1);
    EXPECT_FLOAT_EQ(nrm, 16256.0f / 16383.0f) << "a 7-bit controller tops out below 1";

    mgr.ctrl_to_param(cc8, 100, param, nrm);
    EXPECT_EQ(param, -1);
    EXPECT_EQ(nrm, -1.0f) << "an unbound control";

    int ctrl_id = 0;
    int value = 0;
    mgr.param_to_ctrl(1, 0.25f, ctrl_id, value);
    EXPECT_EQ(ctrl_id, 127 << 16);
    EXPECT_EQ(value, 4096) << "round(0.25 x 16383)";
    mgr.param_to_ctrl(2, 0.25f, ctrl_id, value);
    EXPECT_EQ(ctrl_id, -1);
    EXPECT_EQ(value, -1) << "an unbound parameter";
}

// The echo of a change, as the output sends it.
struct EchoCase
{
    const char* what;
    int kind;
    int number;
    float value;
    int nrpn_compat;
    const char* sent;

    friend void PrintTo(const EchoCase& c, std::ostream* os) { *os << c.what; }
};

class MidiMgrEcho : public testing::TestWithParam<EchoCase>
{
protected:
    midi_test::MidiRig rig;
    midi_test::RecordingOutput out;
};

TEST_P(MidiMgrEcho, SendsTheBoundControl)
{
    const EchoCase& c = GetParam();
    ASSERT_EQ(rig.mgr.use_reg_settings().set_nrpn_compat(c.nrpn_compat), 0);
    out.set_reg_settings(&rig.mgr.use_reg_settings());
    rig.mgr.set_output(&out);
    rig.mgr.bind_param(2, c.kind, c.number);
    EXPECT_EQ(rig.mgr.send_param_change(3, 2, c.value), 0);
    EXPECT_EQ(out.text(), c.sent);
    rig.mgr.set_output(nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, MidiMgrEcho,
    testing::Values(EchoCase{"CC7AtFullIsA14BitPair", 7, 0, 1.0f, 1, "B3 07 7F 00, B3 27 7F 00"},
                    EchoCase{"CC31IsStillAPair", 31, 0, 0.5f, 1, "B3 1F 40 00, B3 3F 00 00"},
                    EchoCase{"CC74AtFullIsOneValue", 74, 0, 1.0f, 1, "B3 4A 7F 00"},
                    EchoCase{"CC32RoundsTo7Bits", 32, 0, 0.5f, 1, "B3 20 40 00"},
                    EchoCase{"Nrpn", nrpn_kind, 300, 0.5f, 1,
                             "B3 63 02 00, B3 62 2C 00, B3 06 40 00, B3 26 00 00"},
                    EchoCase{"NrpnOldLayout", nrpn_kind, 300, 0.5f, 0,
                             "B3 62 02 00, B3 63 2C 00, B3 06 40 00, B3 26 00 00"},
                    EchoCase{"Rpn", rpn_kind, 1, 1.0f, 1,
                             "B3 65 00 00, B3 64 01 00, B3 06 7F 00, B3 26 7F 00"},
                    EchoCase{"RpnOldLayout", rpn_kind, 1, 0.0f, 0,
                             "B3 64 00 00, B3 65 01 00, B3 06 00 00, B3 26 00 00"}),
    [](const auto& info) { return info.param.what; });

TEST_F(MidiMgrTest, EchoWithoutBindingOutputOrRoom)
{
    midi_test::RecordingOutput out(1);
    mgr.set_output(&out);
    EXPECT_EQ(mgr.send_param_change(0, 6, 1.0f), -2) << "an unbound parameter";
    EXPECT_TRUE(out.packets().empty());
    mgr.bind_param(0, cc7);
    EXPECT_EQ(mgr.send_param_change(0, 0, 1.0f), -1) << "the output took the MSB only";
    mgr.set_output(nullptr);
    mgr.bind_param(6, cc7);
    EXPECT_EQ(mgr.send_param_change(0, 6, 1.0f), 0) << "nothing to send without an output";
    EXPECT_EQ(mgr.cc(0, 1, 2), 0) << "the thru without an output";
}

TEST_F(MidiMgrTest, ThruPassesMessagesUnchanged)
{
    midi_test::RecordingOutput out;
    mgr.set_output(&out);
    mgr.cc(2, 10, 64);
    mgr.chn_msg(1, 0xE, 0, 64);
    mgr.prog_change(0, 5 + 128 * 2);
    mgr.raw_msg(0xF8, 0, 0);
    EXPECT_EQ(mgr.note_on(0, 60, 100), 0) << "notes are not passed on";
    EXPECT_EQ(out.text(), "B2 0A 40 00, E1 00 40 00, B0 00 02 00, B0 20 00 00, C0 05 00 00, "
                          "F8 00 00 00");
    mgr.set_output(nullptr);
}

TEST_F(MidiMgrTest, BoundControlsMoveParametersWithTheMidiPriority)
{
    mgr.set_default_map();
    mgr.bind_param(6, 20, 0);
    mgr.bind_param(12, 21, 0); // beyond the effect's parameters, kept from a setting file
    mgr.receive_ctrl(0, MidiCtrl::make_id(nrpn_kind, 3), 8192);
    mgr.receive_ctrl(0, 20 << 16, 16383);
    mgr.receive_ctrl(0, 21 << 16, 16383);
    mgr.receive_ctrl(0, 22 << 16, 16383);
    const auto changes = rig.cmd.changes();
    ASSERT_EQ(changes.size(), 2u)
        << "unbound controls and bindings past the parameters move nothing";
    EXPECT_EQ(changes[0].index, 3);
    EXPECT_FLOAT_EQ(changes[0].value, 8192.0f / 16383.0f);
    EXPECT_EQ(changes[0].priority, 125);
    EXPECT_EQ(changes[1].index, 6);
    EXPECT_FLOAT_EQ(changes[1].value, 1.0f);
}

TEST_F(MidiMgrTest, FeedbackGoesToTheChannelOfTheLastBoundControl)
{
    midi_test::RecordingOutput out;
    mgr.set_output(&out);
    mgr.bind_param(0, 74, 0);
    mgr.send_feedback(0, 1.0f);
    mgr.receive_ctrl(5, 74 << 16, 0);
    mgr.receive_ctrl(9, 75 << 16, 0); // unbound: the channel stays
    mgr.send_feedback(0, 1.0f);
    EXPECT_EQ(out.text(), "B0 4A 7F 00, B5 4A 7F 00");
    mgr.set_output(nullptr);
}

// Auto-bind as the input path drives it, in both modes.
class MidiMgrAutoBind : public MidiMgrTest, public testing::WithParamInterface<int>
{
};

TEST_P(MidiMgrAutoBind, BindsTheNextControlsToTheTarget)
{
    const int mode = GetParam();
    ASSERT_EQ(mgr.use_reg_settings().set_autobind_mode(mode), 0);
    mgr.set_default_map();
    int param = -1;
    int ctrl_id = -1;
    EXPECT_FALSE(mgr.get_last_bound(param, ctrl_id));

    mgr.set_autobind_target(2);
    mgr.receive_ctrl(0, cc7, 16383);
    EXPECT_EQ(param_of(mgr, cc7), 2);
    EXPECT_EQ(param_of(mgr, MidiCtrl::make_id(nrpn_kind, 2)), -1) << "the target's NRPN left";
    ASSERT_TRUE(mgr.get_last_bound(param, ctrl_id));
    EXPECT_EQ(param, 2);
    EXPECT_EQ(ctrl_id, cc7);
    ASSERT_EQ(rig.cmd.changes().size(), 1u) << "the control moves its new parameter at once";
    EXPECT_EQ(rig.cmd.changes()[0].index, 2);

    mgr.receive_ctrl(0, cc8, 0);
    if (mode == 0)
    {
        EXPECT_EQ(mgr.get_autobind_target(), -1) << "mode 0 binds once";
        EXPECT_EQ(param_of(mgr, cc8), -1) << "the second control changes nothing";
        EXPECT_EQ(ctrl_of(mgr, 2), cc7);
    }
    else
    {
        EXPECT_EQ(mgr.get_autobind_target(), 2) << "mode 1 stays armed";
        EXPECT_EQ(ctrl_of(mgr, 2), cc8) << "each further control is bound in turn";
        EXPECT_EQ(param_of(mgr, cc7), -1);
    }
    mgr.clear_last_bound();
    EXPECT_FALSE(mgr.get_last_bound(param, ctrl_id));
}

INSTANTIATE_TEST_SUITE_P(Modes, MidiMgrAutoBind, testing::Values(0, 1));

namespace
{

class MidiAutoBindMgrTest : public MidiMgrTest
{
protected:
    MidiAutoBindMgrTest()
    {
        mgr.set_default_map();
        autobind.init(&mgr);
    }

    void set_mode(int mode) { ASSERT_EQ(mgr.use_reg_settings().set_autobind_mode(mode), 0); }

    MidiAutoBindMgr autobind;
    // The editor's controls of parameters 2 and 4.
    plux::MidiAutoBindListener knob_2{autobind, 2};
    plux::MidiAutoBindListener knob_4{autobind, 4};
};

} // namespace

TEST_F(MidiAutoBindMgrTest, ModeZeroBindsOnceAndDisarms)
{
    set_mode(0);
    autobind.toggle_armed();
    EXPECT_TRUE(autobind.is_armed());
    EXPECT_EQ(mgr.get_autobind_target(), -1) << "armed, but no parameter touched yet";
    knob_2.begin_gesture();
    EXPECT_EQ(autobind.get_selected_param(), 2);
    EXPECT_EQ(mgr.get_autobind_target(), 2);

    mgr.receive_ctrl(0, cc7, 100);
    EXPECT_EQ(ctrl_of(mgr, 2), cc7);
    EXPECT_FALSE(autobind.is_armed()) << "the binding switched auto-bind off";
    int param = -1;
    int ctrl_id = -1;
    EXPECT_FALSE(mgr.get_last_bound(param, ctrl_id)) << "and cleared the latest binding";

    knob_4.begin_gesture();
    EXPECT_EQ(mgr.get_autobind_target(), -1) << "touching a control does not re-arm";
}

TEST_F(MidiAutoBindMgrTest, ModeOneStaysArmedAndFollowsTheTouchedControl)
{
    set_mode(1);
    autobind.toggle_armed();
    knob_2.begin_gesture();
    mgr.receive_ctrl(0, cc7, 100);
    EXPECT_TRUE(autobind.is_armed());
    knob_4.begin_gesture();
    EXPECT_EQ(mgr.get_autobind_target(), 4) << "retargeted";
    mgr.receive_ctrl(0, cc8, 100);
    EXPECT_EQ(ctrl_of(mgr, 2), cc7);
    EXPECT_EQ(ctrl_of(mgr, 4), cc8);

    autobind.toggle_armed();
    EXPECT_FALSE(autobind.is_armed());
    EXPECT_EQ(mgr.get_autobind_target(), -1) << "disarming cancels the target";
    mgr.receive_ctrl(0, 9 << 16, 100);
    EXPECT_EQ(ctrl_of(mgr, 4), cc8);

    set_mode(0);
    autobind.toggle_armed();
    EXPECT_TRUE(autobind.is_armed()) << "arming in mode 0 ignores the binding left from mode 1";
    EXPECT_EQ(mgr.get_autobind_target(), 4);
    mgr.receive_ctrl(0, 10 << 16, 100);
    EXPECT_EQ(ctrl_of(mgr, 4), 10 << 16);
    EXPECT_FALSE(autobind.is_armed());

    MidiAutoBindMgr without_mgr;
    without_mgr.init(nullptr);
    without_mgr.toggle_armed();
    without_mgr.select_param(1);
    EXPECT_FALSE(without_mgr.is_armed()) << "without a manager auto-bind stays off";
}

// The audio thread binds into spare tables; once they are used up further bindings wait for the
// next recycling instead of allocating. The spares grow with the table.
TEST(MidiMapStore, AudioThreadBindingsUseTheSparesUntilRecycled)
{
    MidiMapStore store;
    for (int i = 0; i < MidiMapStore::nbr_spares; ++i)
    {
        EXPECT_TRUE(store.bind_rt(i, (20 + i) << 16)) << "binding " << i;
    }
    EXPECT_TRUE(store.bind_rt(0, 20 << 16)) << "a binding already in place needs no spare";
    EXPECT_FALSE(store.bind_rt(9, 30 << 16)) << "no spare left";
    EXPECT_EQ(param_in(store, 30 << 16), -1);
    store.recycle();
    EXPECT_TRUE(store.bind_rt(9, 30 << 16));
    EXPECT_EQ(param_in(store, 30 << 16), 9);
    EXPECT_EQ(param_in(store, 23 << 16), 3) << "earlier bindings stay";

    store.modify(500,
                 [](MidiCtrlMap& map)
                 {
                     for (int param = 0; param < 500; ++param)
                     {
                         map.bind(param, (99 << 16) + param);
                     }
                 });
    EXPECT_TRUE(store.bind_rt(600, 7 << 16)) << "the spare holds the larger table";
    EXPECT_EQ(param_in(store, 7 << 16), 600);
    EXPECT_EQ(param_in(store, (99 << 16) + 499), 499);
}

// "NRPN Compatibility" lives below the product's key, "Autobind Mode" below the maker's; a value
// changes only when the registry took it, and the next instance reads it.
TEST(MidiRegSettings, ReadsAndStoresEachValueInItsKey)
{
    const std::string maker = test::sandbox_key_path();
    const std::string product = maker + "/Morvane";
    ASSERT_EQ(sys::PersistentKeyList(product, true).set_string("NRPN Compatibility", "0"), 0);
    plux::MidiRegSettings reg(maker);
    EXPECT_EQ(reg.set_nrpn_compat(1), -1) << "no key before init";
    EXPECT_EQ(reg.set_autobind_mode(0), -1);
    EXPECT_EQ(reg.get_autobind_mode(), 1);
    reg.init("Morvane");
    EXPECT_EQ(reg.get_sub_path(), product);
    EXPECT_EQ(reg.get_nrpn_compat(), 0);
    EXPECT_EQ(reg.get_autobind_mode(), 1) << "the default";
    EXPECT_EQ(reg.set_autobind_mode(0), 0);
    EXPECT_EQ(reg.set_nrpn_compat(1), 0);
    EXPECT_EQ(reg.get_autobind_mode(), 0);
    std::string stored;
    EXPECT_EQ(sys::PersistentKeyList(maker, true).get_string("Autobind Mode", stored), 0);
    EXPECT_EQ(stored, "0");

    plux::MidiRegSettings again(maker);
    again.init("Morvane");
    EXPECT_EQ(again.get_autobind_mode(), 0) << "the next instance reads what was stored";
    EXPECT_EQ(again.get_nrpn_compat(), 1);
}
