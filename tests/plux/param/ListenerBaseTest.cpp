#include "plux/param/ListenerBase.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "plux/HostGuiInterface.hpp"
#include "plux/vst2/TestEffect.hpp"
#include "ravik/ControlInterface.hpp"

using testing::Return;

namespace
{

class MockHostGui : public plux::HostGuiInterface
{
public:
    MOCK_METHOD(double, get_info_num, (const std::string&), (override));
    MOCK_METHOD(std::string, get_info_str, (const std::string&), (override));
    MOCK_METHOD(bool, can_take, (int, int), (override));
    MOCK_METHOD(bool, take, (int, int), (override));
    MOCK_METHOD(void, release, (int, int), (override));
    MOCK_METHOD(bool, set_param_and_notify, (int, float, int), (override));
    MOCK_METHOD(int, apply_prog, (const plux::ProgramSlot&, int), (override));
    MOCK_METHOD(void, write_bank, (const plux::BankManager&), (override));
    MOCK_METHOD(int, resize_window, (int, int), (override));
    MOCK_METHOD(std::string, get_settings_folder, (), (override));
    MOCK_METHOD(plux::MidiMgr*, use_midi_mgr, (), (override));
    MOCK_METHOD(plux::MidiDevSelectorInterface*, use_midi_dev_selector, (), (override));
};

// A control with no message handling of its own.
class Knob : public ravik::ControlInterface
{
public:
    std::int32_t process_message(ravik::MessageInterface&) override { return 0; }
};

// A knob bound to parameter 5 (0..1) through the listener.
class ListenerBaseTest : public testing::Test
{
protected:
    ListenerBaseTest()
    {
        listener.set_host(&host);
        listener.bind_param(5, &param);
        knob.set_listener(&listener);
    }

    MockHostGui host;
    plux_test::TestParam param{"Gain", "", 0.0, 1.0, false};
    plux::ListenerBase listener;
    Knob knob;
};

} // namespace

// A knob drag as the toolkit drives it: the press takes the parameter with the user's priority,
// each move sets and reports the value, the release frees the parameter.
TEST_F(ListenerBaseTest, ForwardsTheControlsGesturesToTheParameterRoad)
{
    EXPECT_EQ(listener.get_control(), &knob);
    testing::InSequence order;
    EXPECT_CALL(host, can_take(5, 200)).WillOnce(Return(true));
    EXPECT_CALL(host, take(5, 200)).WillOnce(Return(true));
    EXPECT_CALL(host, can_take(5, 200)).WillOnce(Return(true));
    EXPECT_CALL(host, set_param_and_notify(5, 0.25f, 200)).WillOnce(Return(true));
    EXPECT_CALL(host, release(5, 200));

    knob.trigger(200);
    EXPECT_TRUE(knob.set_value(0.25, 200));
    EXPECT_DOUBLE_EQ(knob.get_value(), 0.25) << "the value passes unchanged";
    knob.signal(200);
}

TEST_F(ListenerBaseTest, AHeldParameterRefusesTheControlsChange)
{
    EXPECT_CALL(host, can_take(5, 50)).WillOnce(Return(false));
    EXPECT_CALL(host, set_param_and_notify).Times(0);
    EXPECT_FALSE(knob.set_value(0.9, 50));
    EXPECT_DOUBLE_EQ(knob.get_value(), 0.0);
}

TEST_F(ListenerBaseTest, ShowsTheParameterWithoutReportingIt)
{
    param.set_val(0.75, 2);
    EXPECT_CALL(host, set_param_and_notify).Times(0);
    listener.show_param();
    EXPECT_DOUBLE_EQ(knob.get_value(), 0.75);
}
