#pragma once

namespace ravik
{
class ControlInterface;
}

namespace plux
{

class ListenerBase;

// Ties one editor control to one parameter through the parameter's listener.
class MetaControl
{
public:
    virtual ~MetaControl() = default;

    // Neither is owned. The listener becomes the control's when it is not already.
    void bind(ravik::ControlInterface& control, ListenerBase& listener);
    bool is_bound() const { return control_ != nullptr && listener_ != nullptr; }
    ravik::ControlInterface* get_control() const { return control_; }
    ListenerBase* get_listener() const { return listener_; }
    // Shows the parameter's current value on the control.
    void refresh();

private:
    ravik::ControlInterface* control_ = nullptr;
    ListenerBase* listener_ = nullptr;
};

} // namespace plux
