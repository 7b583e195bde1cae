#include "effect/param/ParamBandDelay.hpp"

#include <cmath>

void ParamBandDelay::get_name(char* buffer, int capacity) const
{
    copy_text(buffer, capacity, "Evolution");
}

void ParamBandDelay::get_unit(char* buffer, int capacity) const
{
    copy_text(buffer, capacity, "ms");
}

double ParamBandDelay::conv_nrm_to_val(float nrm) const
{
    const double centred = 2.0 * static_cast<double>(nrm) - 1.0;
    return 50.0 * centred * centred * centred;
}

float ParamBandDelay::conv_val_to_nrm(double val) const
{
    if (val > 0.0)
    {
        return static_cast<float>((std::exp(std::log(val * 0.02) / 3.0) + 1.0) * 0.5);
    }
    if (val < 0.0)
    {
        return static_cast<float>(1.0 - (std::exp(std::log(-val * 0.02) / 3.0) + 1.0) * 0.5);
    }
    return 0.5f;
}
