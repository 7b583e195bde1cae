#pragma once

#include "plux/preset/GenericPresetListener.hpp"
#include "plux/prog/ProgramSlot.hpp"

namespace plux
{

// A listener through which the user selects presets (a number button, the preset menu, the name
// box). A recall morphs from the sound of that moment to the preset on a timer of the window
// whose handler is the listener's control: the listener catches its ticks as they pass through
// the control. Editor thread.
class PresetSelectionListenerBase : public GenericPresetListener
{
public:
    static constexpr float tick_period = 0.1f;

    using GenericPresetListener::GenericPresetListener;
    // Stops a running morph: the control must still exist.
    ~PresetSelectionListenerBase() override;
    PresetSelectionListenerBase(const PresetSelectionListenerBase&) = delete;
    PresetSelectionListenerBase& operator=(const PresetSelectionListenerBase&) = delete;

    // Stops a running morph and starts one from from to to, whose first step comes with the
    // window's next timer poll. False, and no morph, without a control or when the window sets
    // no timer.
    bool start_morph(const ProgramSlot& from, const ProgramSlot& to);
    void stop_morph();
    bool is_morphing() const { return timer_id_ != -1; }

    void after_message(ravik::MessageInterface& message) override;

private:
    void step(double now);

    int timer_id_ = -1;
    double start_ = 0.0;
    ProgramSlot from_;
    ProgramSlot to_;
};

} // namespace plux
