#pragma once

#include <array>
#include <memory>
#include <vector>

#include "effect/gui/GuiListeners.hpp"
#include "effect/gui/VanGuiPart.hpp"
#include "ravik/CtrlGroupNodes.hpp"
#include "ravik/widget/Fader.hpp"
#include "ravik/widget/Knob.hpp"
#include "ravik/widget/Spin.hpp"
#include "ravik/widget/StateButton.hpp"
#include "ravik/widget/TextBox.hpp"

// The main panel: one control per parameter, the value boxes and the note/frequency switch.
class VanGuiMain : public VanGuiPart
{
public:
    static constexpr int nbr_params = 8;

    // Creates the controls and their listeners, bound to the parameters.
    void init();
    // Places them in group.
    void build(ravik::CtrlGroupItem& group);

    ravik::ControlInterface& use_control(int index) const;
    ravik::TextBox* use_box(int index) const;
    ravik::Knob& use_cutoff_knob() { return cutoff_; }
    ravik::FlipFlop& use_note_switch() { return note_switch_; }
    const std::vector<double>& get_semitones() const { return semitones_; }

private:
    void style_large(ravik::Knob& knob);
    void style_small(ravik::Knob& knob);
    void style_box(ravik::TextBox& box, bool narrow);

    ravik::Knob cutoff_;
    ravik::Knob reso_;
    ravik::Spin bands_;
    ravik::Knob gain_;
    ravik::FlipFlop routing_;
    ravik::Knob spacing_;
    ravik::Knob evolution_;
    ravik::Fader tone_;
    ravik::FlipFlop note_switch_;
    // Value boxes by parameter; the routing switch and the tone fader have none.
    std::array<std::unique_ptr<ravik::TextBox>, nbr_params> boxes_;
    std::array<NumValListener, nbr_params> listeners_;
    std::array<NumValTbListener, nbr_params> box_listeners_;
    NfsListener note_listener_;
    std::vector<double> semitones_;
};
