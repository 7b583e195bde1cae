#include "plux/midi/MidiAutoBindMgr.hpp"

#include <gtest/gtest.h>

#include "plux/midi/MidiTestUtil.hpp"

using plux::MidiAutoBindListener;
using plux::MidiAutoBindMgr;

namespace
{

constexpr int cc7 = 7 << 16;
constexpr int cc8 = 8 << 16;

class MidiAutoBindMgrTest : public testing::Test
{
protected:
    MidiAutoBindMgrTest()
    {
        rig.mgr.set_default_map();
        autobind.init(&rig.mgr);
    }

    void set_mode(int mode) { ASSERT_EQ(rig.mgr.use_reg_settings().set_autobind_mode(mode), 0); }
    int ctrl_of(int param) const
    {
        int ctrl_id = -1;
        return rig.mgr.get_ctrl_for_param(param, ctrl_id) ? ctrl_id : -1;
    }

    midi_test::MidiRig rig;
    MidiAutoBindMgr autobind;
    // The editor's controls of parameters 2 and 4.
    MidiAutoBindListener knob_2{autobind, 2};
    MidiAutoBindListener knob_4{autobind, 4};
};

} // namespace

TEST_F(MidiAutoBindMgrTest, ModeZeroBindsOnceAndDisarms)
{
    set_mode(0);
    autobind.toggle_armed();
    EXPECT_TRUE(autobind.is_armed());
    EXPECT_EQ(rig.mgr.get_autobind_target(), -1) << "armed, but no parameter touched yet";
    knob_2.begin_gesture();
    EXPECT_EQ(autobind.get_selected_param(), 2);
    EXPECT_EQ(rig.mgr.get_autobind_target(), 2);

    rig.mgr.receive_ctrl(0, cc7, 100);
    EXPECT_EQ(ctrl_of(2), cc7);
    EXPECT_FALSE(autobind.is_armed()) << "the binding switched auto-bind off";
    int param = -1;
    int ctrl_id = -1;
    EXPECT_FALSE(rig.mgr.get_last_bound(param, ctrl_id)) << "and cleared the latest binding";

    rig.mgr.receive_ctrl(0, cc8, 100);
    EXPECT_EQ(ctrl_of(2), cc7) << "a second controller changes nothing";
    knob_4.begin_gesture();
    EXPECT_EQ(rig.mgr.get_autobind_target(), -1) << "touching a control does not re-arm";
}

TEST_F(MidiAutoBindMgrTest, ModeOneStaysArmedAndFollowsTheTouchedControl)
{
    set_mode(1);
    autobind.toggle_armed();
    knob_2.begin_gesture();
    rig.mgr.receive_ctrl(0, cc7, 100);
    EXPECT_TRUE(autobind.is_armed());
    knob_4.begin_gesture();
    EXPECT_EQ(rig.mgr.get_autobind_target(), 4) << "retargeted";
    rig.mgr.receive_ctrl(0, cc8, 100);
    EXPECT_EQ(ctrl_of(2), cc7);
    EXPECT_EQ(ctrl_of(4), cc8);

    autobind.toggle_armed();
    EXPECT_FALSE(autobind.is_armed());
    EXPECT_EQ(rig.mgr.get_autobind_target(), -1) << "disarming cancels the target";
    rig.mgr.receive_ctrl(0, 9 << 16, 100);
    EXPECT_EQ(ctrl_of(4), cc8);
}

TEST_F(MidiAutoBindMgrTest, ArmingInModeZeroIgnoresABindingLeftFromModeOne)
{
    set_mode(1);
    autobind.toggle_armed();
    knob_2.begin_gesture();
    rig.mgr.receive_ctrl(0, cc7, 100);
    autobind.toggle_armed();
    set_mode(0);
    autobind.toggle_armed();
    EXPECT_TRUE(autobind.is_armed()) << "a new arming starts afresh";
    EXPECT_EQ(rig.mgr.get_autobind_target(), 2);
    rig.mgr.receive_ctrl(0, cc8, 100);
    EXPECT_EQ(ctrl_of(2), cc8);
    EXPECT_FALSE(autobind.is_armed());
}

TEST(MidiAutoBindMgr, WithoutAManagerAutoBindStaysOff)
{
    MidiAutoBindMgr autobind;
    autobind.init(nullptr);
    autobind.toggle_armed();
    autobind.select_param(1);
    EXPECT_FALSE(autobind.is_armed());
}
