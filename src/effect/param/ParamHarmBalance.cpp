#include "effect/param/ParamHarmBalance.hpp"

#include "effect/param/ParamText.hpp"

void ParamHarmBalance::get_name(char* buffer, int capacity) const
{
    copy_text(buffer, capacity, "Tone");
}

void ParamHarmBalance::get_unit(char* buffer, int capacity) const
{
    copy_text(buffer, capacity, "");
}

double ParamHarmBalance::conv_nrm_to_val(float nrm) const
{
    return static_cast<double>(nrm);
}

float ParamHarmBalance::conv_val_to_nrm(double val) const
{
    return static_cast<float>(val);
}

void ParamHarmBalance::conv_val_to_str(char* buffer, int capacity, double val) const
{
    char text[ParamText::capacity];
    ParamText::format_fixed(text, val, 5);
    copy_text(buffer, capacity, text);
}

double ParamHarmBalance::conv_str_to_val(const char* text, bool& ok) const
{
    return ParamText::read_clamped(text, ok, min_val, max_val);
}
