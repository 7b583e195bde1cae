#include "plux/midi/MidiDevSelDispatcher.hpp"

#include <array>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "basic/ConfKeyMulti.hpp"
#include "plux/midi/MciMidiDevSelComp.hpp"
#include "plux/midi/MciMidiPort.hpp"
#include "plux/midi/MidiCtrl.hpp"
#include "plux/midi/MidiTestUtil.hpp"
#include "plux/vst2/Vst2MidiDevSelComp.hpp"
#include "vst2host/MidiEventList.hpp"

using midi_test::bindings;
using midi_test::MidiRig;
using midi_test::read_root;
using plux::MidiCtrl;
using plux::MidiDevSelDispatcher;

namespace
{

// The plug-in's arrangement: the host component first, the system's ports second.
struct PluginDevices
{
    explicit PluginDevices(plux::MidiMgr& mgr)
        : dispatcher(mgr)
    {
        mgr.set_dev_selector(&dispatcher);
        dispatcher.add_component(host_comp);
        dispatcher.add_component(system_comp);
        EXPECT_EQ(dispatcher.init(), 0);
        EXPECT_EQ(dispatcher.select_default(true, false), 0);
    }
    ~PluginDevices() { dispatcher.deinit(); }

    midi_test::FakeHost host;
    plux::Vst2MidiDevSelComp host_comp{host};
    plux::MciMidiDevSelComp system_comp;
    MidiDevSelDispatcher dispatcher;
};

class MidiDevicesOfThePlugin : public testing::Test
{
protected:
    // The names the dispatcher lists, in or out.
    std::vector<std::string> names(bool in) const
    {
        std::vector<std::string> list;
        for (int i = 0; i < (in ? dispatcher.get_nbr_in() : dispatcher.get_nbr_out()); ++i)
        {
            list.push_back(in ? dispatcher.get_in_name(i) : dispatcher.get_out_name(i));
        }
        return list;
    }

    MidiRig rig;
    PluginDevices devices{rig.mgr};
    MidiDevSelDispatcher& dispatcher = devices.dispatcher;
};

// The whole road of host MIDI as the plug-in frame drives it: host events into the host input,
// decoding, the binding table, the parameter road with the MIDI priority, the echo of the change
// and the host output handing it back at the start of the next block.
class MidiHostChain : public MidiDevicesOfThePlugin
{
protected:
    MidiHostChain()
    {
        rig.mgr.set_default_map();
        rig.cmd.feedback_to = &rig.mgr;
        dispatcher.select_out(0);
    }

    // One block: the host's events, then processReplacing's MIDI steps.
    void run_block(std::initializer_list<std::array<unsigned char, 3>> messages)
    {
        vst2host::MidiEventList list(messages.size());
        for (const auto& m : messages)
        {
            list.add(0, m[0], m[1], m[2]);
        }
        devices.host_comp.process_events(*list.use_events());
        rig.mgr.begin_block();
        rig.mgr.end_block();
    }
};

} // namespace

TEST_F(MidiDevicesOfThePlugin, ListsTheHostFirstThenTheSystemPorts)
{
    std::vector<std::string> ins{"VST MIDI In interface"};
    std::vector<std::string> outs{"VST MIDI Out interface"};
    std::string name;
    for (int i = 0; plux::MciMidiPort::get_in_name(i, name) == 0; ++i)
    {
        ins.push_back(name);
    }
    for (int i = 0; plux::MciMidiPort::get_out_name(i, name) == 0; ++i)
    {
        outs.push_back(name);
    }
    EXPECT_EQ(names(true), ins);
    EXPECT_EQ(names(false), outs);
    EXPECT_EQ(dispatcher.get_in_index(), 0) << "the host input is used from the start";
    EXPECT_EQ(dispatcher.get_out_index(), -1) << "no output until the user chooses one";
    EXPECT_EQ(rig.mgr.get_input(), &devices.host_comp.use_in());
    EXPECT_TRUE(devices.host_comp.use_in().is_enabled());
    EXPECT_EQ(dispatcher.get_in_name(ins.size()), "") << "past the list";
}

TEST_F(MidiDevicesOfThePlugin, SelectsByPositionAndByName)
{
    EXPECT_EQ(dispatcher.select_out(0), 0);
    EXPECT_EQ(rig.mgr.get_output(), &devices.host_comp.use_out());
    EXPECT_TRUE(devices.host_comp.use_out().is_enabled());
    EXPECT_EQ(dispatcher.select_out(-1), 0);
    EXPECT_EQ(rig.mgr.get_output(), nullptr);
    EXPECT_FALSE(devices.host_comp.use_out().is_enabled()) << "deselecting closes";

    EXPECT_NE(dispatcher.select_in(dispatcher.get_nbr_in()), 0) << "a position past the list";
    EXPECT_NE(dispatcher.select_in(-2), 0);
    EXPECT_EQ(dispatcher.get_in_index(), 0) << "a refused position changes nothing";

    EXPECT_EQ(dispatcher.select_in_by_name("No Such Port"), 0);
    EXPECT_EQ(dispatcher.get_in_index(), -1) << "an absent name selects nothing";
    EXPECT_EQ(dispatcher.select_in_by_name("VST MIDI In interface"), 0);
    EXPECT_EQ(dispatcher.get_in_index(), 0);
}

// Ports whose opening and closing fail, and components that fail to list theirs.
TEST(MidiDevSelDispatcher, FailuresAreReportedAndLeaveTheSelection)
{
    MidiRig rig;
    midi_test::TestComp comp;
    midi_test::TestComp failing;
    MidiDevSelDispatcher dispatcher(rig.mgr);
    dispatcher.add_component(comp);
    ASSERT_EQ(dispatcher.init(), 0);
    ASSERT_EQ(dispatcher.select_in(0), 0);
    ASSERT_EQ(dispatcher.select_in(0), 0);
    EXPECT_EQ(comp.opens, 2);
    EXPECT_EQ(comp.closes, 1) << "selecting the same input closes and reopens it";

    comp.close_result = -5;
    EXPECT_EQ(dispatcher.select_in(-1), -5);
    EXPECT_EQ(dispatcher.get_in_index(), 0) << "an input that does not close stays selected";
    EXPECT_EQ(rig.mgr.get_input(), comp.in.get());

    comp.close_result = 0;
    comp.open_result = -7;
    EXPECT_EQ(dispatcher.select_out(0), -7);
    EXPECT_EQ(dispatcher.get_out_index(), -1) << "an output that does not open is not selected";
    EXPECT_EQ(rig.mgr.get_output(), nullptr);

    dispatcher.deinit();
    EXPECT_EQ(comp.releases, 1);
    EXPECT_EQ(rig.mgr.get_input(), nullptr) << "deinit leaves no device in the manager";
    EXPECT_EQ(dispatcher.get_nbr_in(), 0);

    failing.append_result = -3;
    MidiDevSelDispatcher stopped(rig.mgr);
    stopped.add_component(failing);
    stopped.add_component(comp);
    EXPECT_EQ(stopped.init(), -3) << "init stops at the first failing component";
    EXPECT_EQ(stopped.get_nbr_in(), 1) << "the devices listed before the failure stay";
    EXPECT_TRUE(stopped.is_initialised());
}

TEST_F(MidiDevicesOfThePlugin, SavesTheMidiBlockAsTheSettingFileShowsIt)
{
    rig.mgr.set_default_map();
    rig.mgr.bind_param(12, MidiCtrl::kind_rpn, 5);
    rig.mgr.bind_param(1, 74, 0);
    basic::ConfKeyMulti root("Morvane_config_section");
    ASSERT_EQ(rig.mgr.save_settings(root), 0);
    std::string text;
    ASSERT_EQ(root.use_key("midi").write_to_string(text), 0);
    EXPECT_EQ(text, "midi =\n{\n   // Bind param with cc_, rpn_ or nrpn_ as prefix + CC/(N)RPN #.\n"
                    "   control_map =\n   {\n      id_0 = nrpn_0\t// Cutoff\n"
                    "      id_1 = cc_74\t// Bands\n      id_2 = nrpn_2\t// Routing\n"
                    "      id_3 = nrpn_3\t// Gain\n      id_4 = nrpn_4\t// Spread\n"
                    "      id_5 = nrpn_5\t// Delay\n      id_6 = nrpn_6\t// Mix\n"
                    "      id_7 = nrpn_7\t// Very Long Parameter Name\n      id_12 = rpn_5\n   }\n"
                    "   port_in =\n   {\n      name = \"VST MIDI In interface\"\n   }\n"
                    "   port_out =\n   {\n      name = none\n   }\n}");
}

// Parameters 3 and 5 to 7 have bindings of another kind, a control number out of range, or none;
// parameter 4's binding has letters after the digits, which are ignored.
TEST_F(MidiDevicesOfThePlugin, LoadingSkipsMalformedBindingsAndAddsTheOthers)
{
    rig.mgr.bind_param(0, 20, 0);
    rig.mgr.bind_param(1, 11, 0);
    const auto root = read_root("root = { midi = { control_map = {\n"
                                "  id_2 = cc_10  id_x = cc_10  id_3 = pb_10  id_-1 = cc_1\n"
                                "  id_4abc = nrpn_7xyz  id_5 = cc_200  id_6 = nrpn_16384\n"
                                "  id_99999999999 = cc_1  id_7 = rpn_  id_1 = { cc_12 }\n"
                                "  block = { id_0 = cc_13 }  id_0 = cc_11\n"
                                "} } }");
    ASSERT_EQ(rig.mgr.load_settings(*root), 0);
    EXPECT_EQ(bindings(rig.mgr),
              (std::vector<std::string>{"CC 11", "-", "CC 10", "-", "NRPN 7", "-", "-", "-"}))
        << "a loaded binding replaces the ones in place: CC 11 left parameter 1";
    EXPECT_EQ(dispatcher.get_in_index(), 0) << "no port keys: the devices stay";
}

TEST_F(MidiDevicesOfThePlugin, SettingsRoundTripBindingsAndPorts)
{
    rig.mgr.set_default_map();
    rig.mgr.bind_param(3, 7, 0);
    ASSERT_EQ(dispatcher.select_in(-1), 0);
    ASSERT_EQ(dispatcher.select_out(0), 0);
    basic::ConfKeyMulti saved("Morvane_config_section");
    ASSERT_EQ(rig.mgr.save_settings(saved), 0);
    std::string text;
    ASSERT_EQ(saved.write_to_string(text), 0);

    MidiRig other;
    PluginDevices other_devices(other.mgr);
    ASSERT_EQ(other.mgr.load_settings(*read_root(text)), 0);
    EXPECT_EQ(bindings(other.mgr), bindings(rig.mgr));
    EXPECT_EQ(other_devices.dispatcher.get_in_index(), -1) << "\"none\" selects no input";
    EXPECT_EQ(other_devices.dispatcher.get_out_index(), 0);
    EXPECT_EQ(other.mgr.get_output(), &other_devices.host_comp.use_out());
}

TEST_F(MidiDevicesOfThePlugin, AnAbsentPortInTheFileLeavesNoInput)
{
    ASSERT_EQ(rig.mgr.load_settings(
                  *read_root("root = { midi = { port_in = { name = \"Gone Port\" } } }")),
              0);
    EXPECT_EQ(dispatcher.get_in_index(), -1);
    EXPECT_EQ(rig.mgr.get_input(), nullptr);
    EXPECT_FALSE(devices.host_comp.use_in().is_enabled()) << "the host input was closed";
}

TEST_F(MidiHostChain, NrpnMovesItsParameterAndIsEchoedToTheHost)
{
    run_block({{0xB0, 99, 0}, {0xB0, 98, 3}, {0xB0, 6, 64}});
    const auto changes = rig.cmd.changes();
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].index, 3);
    EXPECT_NEAR(changes[0].value, 0.50003, 1e-5);
    EXPECT_EQ(changes[0].priority, 125);
    // The thru of what came in, then the echo.
    EXPECT_EQ(devices.host.text(), "B0 63 00 00, B0 62 03 00, B0 06 40 00, B0 26 00 00, "
                                   "B0 63 00 00, B0 62 03 00, B0 06 40 00, B0 26 00 00");
}

TEST_F(MidiHostChain, OldLayoutAddressesNrpn384)
{
    ASSERT_EQ(rig.mgr.use_reg_settings().set_nrpn_compat(0), 0);
    rig.mgr.bind_param(5, MidiCtrl::kind_nrpn, 384);
    run_block({{0xB0, 99, 0}, {0xB0, 98, 3}, {0xB0, 6, 64}, {0xB0, 38, 0}});
    const auto changes = rig.cmd.changes();
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].index, 5);
    EXPECT_NEAR(changes[1].value, 0.50003, 1e-5);
    // Each of the two changes passed through, then echoed, in the old layout as well.
    const std::string nrpn = "B0 62 03 00, B0 63 00 00, B0 06 40 00, B0 26 00 00";
    EXPECT_EQ(devices.host.text(), nrpn + ", " + nrpn + ", " + nrpn + ", " + nrpn);
}
