#include "ravik/ControlInterface.hpp"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <vector>

#include "ravik/DefaultEventListener.hpp"
#include "ravik/GraphicMessages.hpp"

namespace
{

// Records the repaints it asks for, as a parent would, and what it is told.
class Control : public ravik::ControlInterface
{
public:
    using ControlInterface::ControlInterface;
    std::int32_t process_message(ravik::MessageInterface& message) override
    {
        if (auto* inv = dynamic_cast<ravik::Invalidate*>(&message))
            invalidated.push_back(inv->rect);
        return 0;
    }
    void on_mark_changed() override { ++marks; }
    void cancel_interaction() override { ++cancels; }
    std::vector<ravik::Rect> invalidated;
    int marks = 0;
    int cancels = 0;
};

class Listener : public ravik::DefaultEventListener
{
public:
    Listener(std::string name, std::vector<std::string>& log)
        : name_(std::move(name))
        , log_(log)
    {
    }

    bool accept(int origin) override
    {
        log_.push_back(name_ + ".accept");
        return origin != refuse_origin;
    }
    double filter_user_value(double value, int) override
    {
        log_.push_back(name_ + ".user");
        return value * 2.0;
    }
    double filter_set_value(double value, int) override
    {
        log_.push_back(name_ + ".set");
        return value + 1.0;
    }
    double filter_value(double value, int) override
    {
        log_.push_back(name_ + ".value");
        return value + 0.5;
    }

    int refuse_origin = -1;

private:
    std::string name_;
    std::vector<std::string>& log_;
};

} // namespace

TEST(ControlInterface, SetValueAsksEveryListenerThenFiltersInOrderAndForceValueAsksNone)
{
    std::vector<std::string> log;
    Listener a("a", log);
    Listener b("b", log);
    Control c;
    c.set_listener(&a);
    c.push_back_listener(&b);

    EXPECT_TRUE(c.set_value(1.0, 200));
    EXPECT_EQ(log, (std::vector<std::string>{"a.accept", "b.accept", "a.user", "b.user", "a.value",
                                             "b.value"}));
    EXPECT_DOUBLE_EQ(c.get_value(), 5.0) << "((1 × 2) × 2) + 0.5 + 0.5";

    log.clear();
    b.refuse_origin = 50;
    EXPECT_FALSE(c.set_value(0.0, 50));
    EXPECT_DOUBLE_EQ(c.get_value(), 5.0) << "a refusal changes nothing";
    EXPECT_EQ(log, (std::vector<std::string>{"a.accept", "b.accept"}));

    log.clear();
    c.force_value(1.0, 50);
    EXPECT_EQ(log, (std::vector<std::string>{"a.set", "b.set", "a.value", "b.value"}))
        << "a forced value skips acceptance and takes the set filter";
    EXPECT_DOUBLE_EQ(c.get_value(), 4.0) << "((1 + 1) + 1) + 0.5 + 0.5";
}

TEST(ControlInterface, OnlyAShownControlAsksForARepaint)
{
    Control c({0, 0}, nullptr, 0.0, {-5, -5, 5, 5});
    c.set_abs_position({100, 50});
    c.set_value(0.5, 200);
    EXPECT_TRUE(c.invalidated.empty()) << "hidden controls send no Invalidate";
    c.set_shown(true);
    c.set_value(0.6, 200);
    ASSERT_EQ(c.invalidated.size(), 1u);
    EXPECT_EQ(c.invalidated[0], (ravik::Rect{95, 45, 105, 55})) << "the box in window coordinates";
    EXPECT_TRUE(c.is_inside({95, 45}));
    EXPECT_FALSE(c.is_inside({105, 50})) << "right edge is exclusive";
}

TEST(ControlInterface, ListenersCannotBeChangedFromInsideANotification)
{
    class Meddler : public ravik::DefaultEventListener
    {
    public:
        void trigger(int) override
        {
            try
            {
                get_control()->set_listener(nullptr);
            }
            catch (const std::runtime_error& e)
            {
                message = e.what();
            }
        }
        std::string message;
    };
    Meddler m;
    Control c;
    c.set_listener(&m);
    c.trigger(200);
    EXPECT_EQ(m.message, "ravik::ControlInterface::set_listener() : Recursive call.");
    EXPECT_EQ(c.get_nbr_listeners(), 1) << "the listener stays";
    c.set_listener(nullptr);
    EXPECT_EQ(c.get_nbr_listeners(), 0) << "outside a notification it may change";
}

TEST(ControlInterface, MarksAndEnabling)
{
    Control c;
    c.set_mark(3, true);
    EXPECT_TRUE(c.get_mark(3));
    EXPECT_FALSE(c.get_mark(4));
    EXPECT_THROW(c.set_mark(4, true), std::out_of_range);
    EXPECT_EQ(c.marks, 1);
    c.disable();
    EXPECT_FALSE(c.is_enabled());
    EXPECT_EQ(c.cancels, 1) << "disabling ends an interaction in progress";
    c.enable();
    EXPECT_TRUE(c.is_enabled());
}
