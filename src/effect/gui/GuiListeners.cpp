#include "effect/gui/GuiListeners.hpp"

#include "effect/param/ParamCutFreq.hpp"
#include "plux/param/NormalizedParamInterface.hpp"
#include "ravik/widget/Knob.hpp"
#include "ravik/widget/TextBox.hpp"

namespace
{

// The value text of a parameter; its display texts are short.
constexpr int text_size = 128;

} // namespace

double NumValListener::filter_value(double value, int origin)
{
    plux::NormalizedParamInterface* param = get_param();
    if (param != nullptr && partner_ != nullptr)
    {
        if (ravik::TextBox* box = partner_->use_box())
        {
            char text[text_size];
            param->conv_val_to_str(text, text_size,
                                   param->conv_nrm_to_val(static_cast<float>(value)));
            box->set_text(text);
        }
    }
    return ListenerBase::filter_value(value, origin);
}

ravik::TextBox* NumValTbListener::use_box() const
{
    return dynamic_cast<ravik::TextBox*>(get_control());
}

void NumValTbListener::notify(int code, void* /*data*/)
{
    constexpr int edited = 2;
    plux::NormalizedParamInterface* param = get_param();
    ravik::TextBox* box = use_box();
    if (code != edited || param == nullptr || box == nullptr || partner_ == nullptr ||
        partner_->get_control() == nullptr)
    {
        return;
    }
    bool ok = false;
    const double val = param->conv_str_to_val(box->get_text().c_str(), ok);
    if (ok)
    {
        partner_->get_control()->set_value(param->conv_val_to_nrm(val), 200);
    }
}

void NfsListener::wire(ParamCutFreq& cutoff, ravik::Knob& knob,
                       const std::vector<double>& semitones)
{
    cutoff_ = &cutoff;
    knob_ = &knob;
    semitones_ = &semitones;
}

double NfsListener::filter_value(double value, int /*origin*/)
{
    if (cutoff_ == nullptr || knob_ == nullptr)
    {
        return value;
    }
    const bool notes = value >= 0.5;
    cutoff_->set_note_mode(notes);
    if (notes)
    {
        knob_->set_snap_list(semitones_);
    }
    else
    {
        knob_->clear_snap_list();
    }
    // The value box shows the cutoff in the new mode at once.
    constexpr int origin_redisplay = 2;
    knob_->force_value(cutoff_->get_nrm(), origin_redisplay);
    return value;
}
