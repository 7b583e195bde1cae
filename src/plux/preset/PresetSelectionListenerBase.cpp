#include "plux/preset/PresetSelectionListenerBase.hpp"

#include <algorithm>
#include <cmath>

#include "plux/preset/PresetManager.hpp"
#include "ravik/ControlInterface.hpp"
#include "ravik/TimerMessages.hpp"
#include "sys/Clock.hpp"

namespace plux
{

PresetSelectionListenerBase::~PresetSelectionListenerBase()
{
    stop_morph();
}

bool PresetSelectionListenerBase::start_morph(const ProgramSlot& from, const ProgramSlot& to)
{
    stop_morph();
    ravik::ControlInterface* control = get_control();
    if (control == nullptr)
    {
        return false;
    }
    from_ = from;
    to_ = to;
    start_ = sys::get_time_s();
    int id = -1;
    ravik::SetTimer timer(control, tick_period, id);
    if (control->process_message(timer) != 0)
    {
        return false;
    }
    timer_id_ = id;
    return true;
}

void PresetSelectionListenerBase::stop_morph()
{
    if (timer_id_ == -1)
    {
        return;
    }
    ravik::ClearTimer clear(timer_id_);
    timer_id_ = -1;
    if (ravik::ControlInterface* control = get_control())
    {
        control->process_message(clear);
    }
}

void PresetSelectionListenerBase::after_message(ravik::MessageInterface& message)
{
    if (const auto* tick = dynamic_cast<const ravik::Notify*>(&message);
        tick != nullptr && timer_id_ != -1 && tick->id == timer_id_)
    {
        step(tick->value);
    }
}

void PresetSelectionListenerBase::step(double now)
{
    const double elapsed = now - start_;
    const double time = mgr_.get_morph_time();
    const double t = std::abs(time) < 1e-9 ? 1.0 : std::clamp(elapsed / time, 0.0, 1.0);
    mgr_.apply_morph(from_, to_, t);
    if (elapsed >= time)
    {
        stop_morph();
    }
}

} // namespace plux
