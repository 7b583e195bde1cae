#include "effect/param/ParamReso.hpp"

#include <cmath>

#include "effect/param/ParamText.hpp"

void ParamReso::get_name(char* buffer, int capacity) const
{
    copy_text(buffer, capacity, "Resonance");
}

void ParamReso::get_unit(char* buffer, int capacity) const
{
    copy_text(buffer, capacity, "");
}

double ParamReso::conv_nrm_to_val(float nrm) const
{
    // 10^(2n) through pow, so that n = 1 gives exactly 100.
    return std::pow(10.0, 2.0 * static_cast<double>(nrm));
}

float ParamReso::conv_val_to_nrm(double val) const
{
    return static_cast<float>(std::log(val) * 0.21714724095162588);
}

void ParamReso::conv_val_to_str(char* buffer, int capacity, double val) const
{
    char text[ParamText::capacity];
    ParamText::format_fixed(text, val, 5);
    copy_text(buffer, capacity, text);
}

double ParamReso::conv_str_to_val(const char* text, bool& ok) const
{
    return ParamText::read_clamped(text, ok, min_val, max_val);
}
