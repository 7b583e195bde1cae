#include "effect/param/ParamDistoGain.hpp"

#include <cmath>

void ParamDistoGain::get_name(char* buffer, int capacity) const
{
    copy_text(buffer, capacity, "Dist Gain");
}

void ParamDistoGain::get_unit(char* buffer, int capacity) const
{
    copy_text(buffer, capacity, "");
}

double ParamDistoGain::conv_nrm_to_val(float nrm) const
{
    // 10^n through pow, so that n = 1 gives exactly 10.
    return std::pow(10.0, static_cast<double>(nrm));
}

float ParamDistoGain::conv_val_to_nrm(double val) const
{
    return static_cast<float>(std::log(val) * 0.43429448190325176);
}
