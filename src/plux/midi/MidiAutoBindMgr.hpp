#pragma once

#include "ravik/DefaultEventListener.hpp"

namespace plux
{

class MidiMgr;

// The editor's side of auto-bind: which parameter the user last touched, and whether auto-bind
// is armed. After every change, and whenever the editor asks, it brings the MIDI control
// manager's target in line: the touched parameter while armed, none otherwise. With auto-bind
// mode 0 the first binding disarms it; with mode 1 it stays armed and follows the touched
// parameter. Editor thread.
class MidiAutoBindMgr
{
public:
    // mgr may be null: auto-bind then stays off.
    void init(MidiMgr* mgr);

    // A gesture began on the control of param.
    void select_param(int param);
    int get_selected_param() const { return selected_param_; }
    // The menu command: arms when disarmed, disarms when armed.
    void toggle_armed();
    // Whether auto-bind is armed, after taking the bindings made since the last look into
    // account.
    bool is_armed();

private:
    void refresh();

    MidiMgr* mgr_ = nullptr;
    int selected_param_ = -1;
    bool armed_ = false;
};

// Listens to the editor control of one parameter: a gesture on it selects the parameter as the
// auto-bind target.
class MidiAutoBindListener : public ravik::DefaultEventListener
{
public:
    MidiAutoBindListener(MidiAutoBindMgr& mgr, int param)
        : mgr_(mgr)
        , param_(param)
    {
    }

    void begin_gesture() override { mgr_.select_param(param_); }
    int get_param() const { return param_; }

private:
    MidiAutoBindMgr& mgr_;
    int param_;
};

} // namespace plux
