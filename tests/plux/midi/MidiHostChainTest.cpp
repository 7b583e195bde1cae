// The whole road of host MIDI as the plug-in frame drives it: host events into the host input,
// decoding, the binding table, the parameter road with the MIDI priority, the echo of the change
// and the host output handing it back at the start of the next block.
#include <array>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "plux/midi/MidiCtrl.hpp"
#include "plux/midi/MidiDevSelDispatcher.hpp"
#include "plux/midi/MidiTestUtil.hpp"
#include "plux/vst2/Vst2MidiDevSelComp.hpp"
#include "vst2host/MidiEventList.hpp"

using plux::MidiCtrl;

namespace
{

class MidiHostChain : public testing::Test
{
protected:
    MidiHostChain()
    {
        rig.mgr.set_default_map();
        rig.mgr.set_dev_selector(&dispatcher);
        rig.cmd.feedback_to = &rig.mgr;
        dispatcher.add_component(comp);
        dispatcher.init();
        dispatcher.select_default(true, false);
        dispatcher.select_out(0);
    }
    ~MidiHostChain() override { dispatcher.deinit(); }

    // One block: the host's events, then processReplacing's MIDI steps.
    void run_block(std::initializer_list<std::array<int, 3>> messages)
    {
        vst2host::MidiEventList list(messages.size());
        for (const auto& m : messages)
        {
            list.add(0, static_cast<unsigned char>(m[0]), static_cast<unsigned char>(m[1]),
                     static_cast<unsigned char>(m[2]));
        }
        comp.process_events(*list.use_events());
        rig.mgr.begin_block();
        rig.mgr.end_block();
    }

    midi_test::MidiRig rig;
    midi_test::FakeHost host;
    plux::Vst2MidiDevSelComp comp{host};
    plux::MidiDevSelDispatcher dispatcher{rig.mgr};
};

} // namespace

TEST_F(MidiHostChain, NrpnMovesItsParameterAndIsEchoedToTheHost)
{
    run_block({{0xB0, 99, 0}, {0xB0, 98, 3}, {0xB0, 6, 64}});
    const auto changes = rig.cmd.changes();
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].index, 3);
    EXPECT_NEAR(changes[0].value, 0.50003, 1e-5);
    EXPECT_EQ(changes[0].priority, 125);
    const std::vector<std::string> nrpn_3_8192{"B0 63 00 00", "B0 62 03 00", "B0 06 40 00",
                                               "B0 26 00 00"};
    std::vector<std::string> expected = nrpn_3_8192; // the thru of what came in
    expected.insert(expected.end(), nrpn_3_8192.begin(), nrpn_3_8192.end()); // the echo
    EXPECT_EQ(host.texts(), expected);
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
    EXPECT_EQ(host.texts().back(), "B0 26 00 00");
    EXPECT_EQ(host.texts()[4], "B0 62 03 00") << "the echo uses the old layout as well";
}

TEST_F(MidiHostChain, SevenBitControllerAndItsEcho)
{
    rig.mgr.bind_param(1, 127, 0);
    run_block({{0xB2, 127, 127}});
    ASSERT_EQ(rig.cmd.changes().size(), 1u);
    EXPECT_FLOAT_EQ(rig.cmd.changes()[0].value, 16256.0f / 16383.0f);
    EXPECT_EQ(host.texts(), (std::vector<std::string>{"B2 7F 7F 00", "B2 7F 7F 00"}))
        << "thru, then the echo on the controller's channel";
}

TEST_F(MidiHostChain, FeedbackOfA14BitControllerIsAPair)
{
    rig.mgr.bind_param(0, 7, 0);
    rig.cmd.set_param_and_notify(0, 1.0f, 200); // the user turns the knob in the editor
    EXPECT_TRUE(host.events.empty()) << "sent at the start of the next block";
    run_block({});
    EXPECT_EQ(host.texts(), (std::vector<std::string>{"B0 07 7F 00", "B0 27 7F 00"}));
}

TEST_F(MidiHostChain, HostEventsAreIgnoredWhenAnotherInputIsSelected)
{
    ASSERT_EQ(dispatcher.select_in(-1), 0);
    run_block({{0xB0, 99, 0}, {0xB0, 98, 3}, {0xB0, 6, 64}});
    EXPECT_TRUE(rig.cmd.changes().empty());
    EXPECT_TRUE(host.events.empty());
}
