#pragma once

#include "ravik/EventListenerInterface.hpp"

namespace ravik
{

// A listener that accepts everything and changes nothing: derive and override what matters.
class DefaultEventListener : public EventListenerInterface
{
public:
    void begin_gesture() override {}
    void end_gesture() override {}
    bool accept(int /*origin*/) override { return true; }
    void trigger(int /*origin*/) override {}
    void signal(int /*origin*/) override {}
    double filter_value(double value, int /*origin*/) override { return value; }
    double filter_user_value(double value, int /*origin*/) override { return value; }
    double filter_set_value(double value, int /*origin*/) override { return value; }
    void notify(int /*code*/, void* /*data*/) override {}
    void before_message(MessageInterface& /*message*/) override {}
    void after_message(MessageInterface& /*message*/) override {}
    void set_control(ControlInterface* control) override { control_ = control; }
    ControlInterface* get_control() const override { return control_; }

private:
    ControlInterface* control_ = nullptr;
};

} // namespace ravik
