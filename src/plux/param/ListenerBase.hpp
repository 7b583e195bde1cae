#pragma once

#include "ravik/DefaultEventListener.hpp"

namespace plux
{

class HostGuiInterface;
class NormalizedParamInterface;

// Binds an editor control to a parameter: the control's gestures and the user's values go to the
// parameter road with the control's origin as their priority. Editor thread.
class ListenerBase : public ravik::DefaultEventListener
{
public:
    void set_host(HostGuiInterface* host) { host_ = host; }
    HostGuiInterface* get_host() const { return host_; }
    // index is the DSP side's.
    void bind_param(int index, NormalizedParamInterface* param);
    NormalizedParamInterface* get_param() const { return param_; }
    int get_index() const { return index_; }

    bool accept(int origin) override;
    void trigger(int origin) override;
    // A released knob or fader frees the parameter at once.
    void signal(int origin) override;
    double filter_user_value(double value, int origin) override;

    // Shows the parameter's current value on the control.
    void show_param();

private:
    bool is_bound() const { return host_ != nullptr && param_ != nullptr && index_ >= 0; }

    HostGuiInterface* host_ = nullptr;
    int index_ = -1;
    NormalizedParamInterface* param_ = nullptr;
};

} // namespace plux
