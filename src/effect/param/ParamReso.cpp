#include "effect/param/ParamReso.hpp"

#include <cmath>

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
