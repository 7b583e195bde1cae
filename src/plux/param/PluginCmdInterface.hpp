#pragma once

namespace plux
{

class ProgramSlot;

// The single road of parameter changes. Every source (host, editor, MIDI, program changes)
// competes for a parameter with a priority; indices are the DSP side's. Safe to call from any
// thread; the audio thread never waits in it.
class PluginCmdInterface
{
public:
    virtual ~PluginCmdInterface() = default;

    // Whether a change with that priority would be accepted now; changes nothing.
    virtual bool can_take(int index, int priority) = 0;
    // Whether the change is accepted; the parameter is then held by that priority.
    virtual bool take(int index, int priority) = 0;
    // Gives the parameter up when that priority holds it.
    virtual void release(int index, int priority) = 0;
    // Stores an accepted normalised value in the current program and the parameter.
    virtual bool set_param(int index, float value, int priority) = 0;
    // Reports a change to the host as automation (with begin-edit) and to MIDI feedback.
    virtual bool notify_host(int index, float value) = 0;
    virtual bool set_param_and_notify(int index, float value, int priority) = 0;
    // Makes prog the current program: the parameters that the priority can take follow it.
    virtual int apply_prog(const ProgramSlot& prog, int priority, bool release_after,
                           bool notify_host) = 0;
};

} // namespace plux
