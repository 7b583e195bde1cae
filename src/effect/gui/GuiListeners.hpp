#pragma once

#include <vector>

#include "plux/param/ListenerBase.hpp"

class ParamCutFreq;

namespace ravik
{
class Knob;
class TextBox;
} // namespace ravik

class NumValTbListener;

// The listener of a parameter's knob, fader or spin: passes the user's values to the parameter
// and writes every new value's display text into the parameter's value box.
class NumValListener : public plux::ListenerBase
{
public:
    void set_partner(NumValTbListener* partner) { partner_ = partner; }
    double filter_value(double value, int origin) override;

private:
    NumValTbListener* partner_ = nullptr;
};

// The listener of a parameter's value box: typed text that parses becomes the control's value,
// travelling as a mouse change does. Text that does not parse changes nothing.
class NumValTbListener : public plux::ListenerBase
{
public:
    void set_partner(NumValListener* partner) { partner_ = partner; }
    void notify(int code, void* data) override;
    // The box this listener serves.
    ravik::TextBox* use_box() const;

private:
    NumValListener* partner_ = nullptr;
};

// The note/frequency switch: in note mode the cutoff reads and takes note names, and its knob
// stops on semitones.
class NfsListener : public ravik::DefaultEventListener
{
public:
    void wire(ParamCutFreq& cutoff, ravik::Knob& knob, const std::vector<double>& semitones);
    double filter_value(double value, int origin) override;

private:
    ParamCutFreq* cutoff_ = nullptr;
    ravik::Knob* knob_ = nullptr;
    const std::vector<double>* semitones_ = nullptr;
};
