#include "plux/preset/PresetListeners.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "kel/Rounding.hpp"
#include "plux/preset/PresetManager.hpp"
#include "ravik/widget/TextBox.hpp"

namespace plux
{

namespace
{

constexpr int code_pressed = 0;

} // namespace

bool PresetMemListener::is_store_mode() const
{
    return get_control() != nullptr && get_control()->get_value() >= 0.5;
}

void PresetMemListener::set_load_mode()
{
    if (get_control() != nullptr)
    {
        get_control()->force_value(0.0, PresetManager::origin_forced);
    }
}

void PresetNumberListener::notify(int code, void* /*data*/)
{
    if (code == code_pressed)
    {
        mgr_.select(index_, *this);
    }
}

PresetListenerRefList::PresetListenerRefList(PresetManager& mgr, int count)
{
    for (int i = 0; i < count; ++i)
    {
        list_.push_back(std::make_unique<PresetNumberListener>(mgr, i));
    }
}

void PresetNameTbListener::show_name(const std::string& name)
{
    if (auto* box = dynamic_cast<ravik::TextBox*>(get_control()))
    {
        box->set_text(name);
    }
}

void PresetNameTbListener::notify(int code, void* /*data*/)
{
    if (const auto* box = dynamic_cast<ravik::TextBox*>(get_control());
        box != nullptr && code == ravik::TextBox::edited)
    {
        mgr_.rename(box->get_text());
    }
}

void PresetTimeDisplayListener::set_format(int width, int decimals, bool left_align)
{
    width_ = width;
    decimals_ = decimals;
    left_align_ = left_align;
}

std::string PresetTimeDisplayListener::format_time(double seconds) const
{
    char text[64];
    if (decimals_ > 0)
    {
        std::snprintf(text, sizeof(text), left_align_ ? "%-*.*lf" : "%0*.*lf", width_, decimals_,
                      seconds);
    }
    else
    {
        std::snprintf(text, sizeof(text), left_align_ ? "%-*d" : "%0*d", width_,
                      round_int(seconds));
    }
    return text;
}

void PresetTimeDisplayListener::show_time(double seconds)
{
    if (auto* box = dynamic_cast<ravik::TextBox*>(get_control()))
    {
        box->set_text(format_time(seconds));
    }
}

void PresetTimeDisplayListener::notify(int code, void* /*data*/)
{
    const auto* box = dynamic_cast<ravik::TextBox*>(get_control());
    if (box == nullptr || code != ravik::TextBox::edited)
    {
        return;
    }
    double seconds = 0.0;
    if (std::sscanf(box->get_text().c_str(), "%lf", &seconds) == 1 && std::isfinite(seconds))
    {
        mgr_.set_morph_time(seconds);
    }
    else
    {
        // The box shows the time again instead of what could not be read.
        show_time(mgr_.get_morph_time());
    }
}

double PresetTimeFaderListener::time_at(double position)
{
    const double p = std::clamp(position, 0.0, 1.0);
    const double ln_100 = std::log(100.0);
    return (std::exp(p * ln_100) - 1.0) / (std::exp(ln_100) - 1.0) * max_time;
}

double PresetTimeFaderListener::position_of(double seconds)
{
    return std::log(std::clamp(seconds, 0.0, max_time) + 1.0) / std::log(100.0);
}

void PresetTimeFaderListener::set_morph_time(double seconds)
{
    morph_time_ = std::clamp(seconds, 0.0, max_time);
    if (get_control() != nullptr)
    {
        get_control()->force_value(position_of(morph_time_), PresetManager::origin_forced);
    }
}

double PresetTimeFaderListener::filter_value(double value, int origin)
{
    if (origin != PresetManager::origin_forced)
    {
        morph_time_ = time_at(value);
        mgr_.show_morph_time();
    }
    return value;
}

void PresetLoadBankListener::notify(int code, void* /*data*/)
{
    if (code == code_pressed)
    {
        mgr_.load_bank_file();
    }
}

void PresetSaveBankListener::notify(int code, void* /*data*/)
{
    if (code == code_pressed)
    {
        mgr_.save_bank_file();
    }
}

} // namespace plux
