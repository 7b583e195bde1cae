#include "effect/gui/VanGuiMain.hpp"

#include <cmath>
#include <stdexcept>

#include "effect/gui/VantrelGui.hpp"
#include "effect/param/ParamCutFreq.hpp"
#include "kel/Rounding.hpp"
#include "plux/DspInterface.hpp"

namespace
{

constexpr std::uint32_t value_colour = 2301462;
constexpr double band_step = 1.0 / 15.0;

// Where each parameter's control and value box sit (the box's top centre).
struct Place
{
    ravik::Point control;
    ravik::Point box;
    bool has_box;
};

constexpr Place places[VanGuiMain::nbr_params] = {
    {{150, 163}, {144, 217}, true}, // Cutoff Freq
    {{40, 226}, {40, 263}, true},   // Resonance
    {{66, 50}, {32, 41}, true},     // Nbr Bands
    {{260, 100}, {260, 147}, true}, // Dist Gain
    {{256, 40}, {}, false},         // Dist Routing
    {{40, 100}, {40, 156}, true},   // Band Spacing
    {{260, 226}, {260, 263}, true}, // Evolution
    {{100, 261}, {}, false},        // Tone
};

} // namespace

void VanGuiMain::style_large(ravik::Knob& knob)
{
    const GuiPictures& pics = use_gui().use_pictures();
    knob.set_background(pics.get("kn_11_p"));
    knob.set_frame_phase(0.0078125f, 0.03125f);
    knob.set_nbr_frames(4);
    for (int i = 0; i < 4; ++i)
    {
        knob.set_frame(i, pics.get(pics.index_of("kn_11_0") + i));
    }
    knob.set_rotate_frames(true);
    knob.set_pointer_dots(pics.get("kn_11_spn"), ravik::Picture());
    knob.set_drag_overlay(pics.get("arw_middlesize"));
    knob.set_drag_range(256);
    knob.set_horizontal_factor(0.03125f);
    knob.set_angle(0.625f, -0.75f);
    knob.set_pointer_radius(25.0f);
    knob.set_corner_spin_speed(1.0f);
    knob.set_draw_pointer_dots(true);
    knob.set_bounding_box({-48, -48, 48, 48});
}

void VanGuiMain::style_small(ravik::Knob& knob)
{
    const GuiPictures& pics = use_gui().use_pictures();
    knob.set_background(pics.get("kn_12_p"));
    knob.set_frame_phase(0.0f, 0.14285715f);
    knob.set_nbr_frames(8);
    for (int i = 0; i < 8; ++i)
    {
        knob.set_frame(i, pics.get(pics.index_of("kn_12_0") + i));
    }
    knob.set_rotate_frames(true);
    knob.set_pointer_dots(pics.get("kn_12_spn"), ravik::Picture());
    knob.set_drag_overlay(pics.get("arw_littlesize"));
    knob.set_drag_range(256);
    knob.set_horizontal_factor(0.03125f);
    knob.set_angle(0.625f, -0.75f);
    knob.set_pointer_radius(15.0f);
    knob.set_corner_spin_speed(1.0f);
    knob.set_draw_pointer_dots(true);
    knob.set_bounding_box({-26, -26, 27, 27});
}

void VanGuiMain::style_box(ravik::TextBox& box, bool narrow)
{
    const int half = narrow ? 12 : 36;
    box.set_font(&use_gui().use_pictures().use_font());
    box.set_text_offset({half, 0});
    box.set_editable(true);
    box.set_text_box(2 * half, 12, ravik::Text::centre, value_colour);
    box.set_second(narrow ? "12" : "1234567");
    box.set_bounding_box({-half, 0, half, 12});
}

ravik::ControlInterface& VanGuiMain::use_control(int index) const
{
    ravik::ControlInterface* const controls[nbr_params] = {
        const_cast<ravik::Knob*>(&cutoff_),      const_cast<ravik::Knob*>(&reso_),
        const_cast<ravik::Spin*>(&bands_),       const_cast<ravik::Knob*>(&gain_),
        const_cast<ravik::FlipFlop*>(&routing_), const_cast<ravik::Knob*>(&spacing_),
        const_cast<ravik::Knob*>(&evolution_),   const_cast<ravik::Fader*>(&tone_)};
    if (index < 0 || index >= nbr_params)
    {
        throw std::out_of_range("VanGuiMain::use_control() : Index out of range.");
    }
    return *controls[index];
}

ravik::TextBox* VanGuiMain::use_box(int index) const
{
    return index >= 0 && index < nbr_params ? boxes_[static_cast<std::size_t>(index)].get()
                                            : nullptr;
}

void VanGuiMain::init()
{
    VantrelGui& gui = use_gui();
    const GuiPictures& pics = gui.use_pictures();
    style_large(cutoff_);
    for (ravik::Knob* knob : {&reso_, &gain_, &spacing_, &evolution_})
    {
        style_small(*knob);
    }

    bands_.set_part_picture(ravik::Spin::pic_up, pics.get("sp_03_up_0"), pics.get("sp_03_up_1"));
    bands_.set_part_picture(ravik::Spin::pic_handle, pics.get("sp_03_hnd_0"),
                            pics.get("sp_03_hnd_1"));
    bands_.set_part_picture(ravik::Spin::pic_down, pics.get("sp_03_dwn_0"),
                            pics.get("sp_03_dwn_1"));
    bands_.set_steps(band_step, band_step, 1.0 / 180.0);
    bands_.set_bounding_box({-21, -32, 25, 34});

    for (ravik::FlipFlop* flip : {&routing_, &note_switch_})
    {
        flip->set_state_picture(0, pics.get("ff_11_1"));
        flip->set_state_picture(1, pics.get("ff_11_0"));
        flip->set_fade_time(0.3);
        flip->set_bounding_box({-12, -26, 16, 15});
    }

    tone_.set_handle(pics.get("fd_03"));
    tone_.set_vertical(false);
    tone_.set_length(90);
    tone_.set_horizontal_factor(0.03125f);
    tone_.set_jump_speed(1.0f);
    tone_.set_bounding_box({-5, -14, 99, 17});

    plux::HostGuiInterface* host = gui.get_host();
    plux::DspInterface& dsp = *gui.get_dsp();
    for (int i = 0; i < nbr_params; ++i)
    {
        const auto k = static_cast<std::size_t>(i);
        plux::NormalizedParamInterface* param = &dsp.use_param(i);
        listeners_[k].set_host(host);
        listeners_[k].bind_param(i, param);
        if (places[i].has_box)
        {
            boxes_[k] = std::make_unique<ravik::TextBox>();
            style_box(*boxes_[k], i == 2);
            box_listeners_[k].set_host(host);
            box_listeners_[k].bind_param(i, param);
            boxes_[k]->set_listener(&box_listeners_[k]);
            box_listeners_[k].set_partner(&listeners_[k]);
            listeners_[k].set_partner(&box_listeners_[k]);
        }
        gui.use_meta(i).bind(use_control(i), listeners_[k]);
    }

    // Every semitone the cutoff reaches, from E1 (41.2 Hz) to D#9 (9956 Hz).
    auto& cutoff = dynamic_cast<ParamCutFreq&>(dsp.use_param(0));
    const int first = round_int(12.0 * std::log2(40.0 / 440.0)) + 70;
    const int last = round_int(12.0 * std::log2(10240.0 / 440.0)) + 69;
    semitones_.clear();
    for (int m = first; m <= last; ++m)
    {
        semitones_.push_back(cutoff.conv_val_to_nrm(440.0 * std::pow(2.0, (m - 69) / 12.0)));
    }
    note_listener_.wire(cutoff, cutoff_, semitones_);
    note_switch_.set_listener(&note_listener_);
}

void VanGuiMain::build(ravik::CtrlGroupItem& group)
{
    for (int i = 0; i < nbr_params; ++i)
    {
        ravik::ControlInterface& control = use_control(i);
        control.set_position(places[i].control);
        group.add_control(control);
        if (ravik::TextBox* box = use_box(i))
        {
            box->set_position(places[i].box);
            group.add_control(*box);
        }
    }
    note_switch_.set_position({147, 87});
    group.add_control(note_switch_);
}
