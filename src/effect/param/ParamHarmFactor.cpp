#include "effect/param/ParamHarmFactor.hpp"

void ParamHarmFactor::get_name(char* buffer, int capacity) const
{
    copy_text(buffer, capacity, "Band Spacing");
}

void ParamHarmFactor::get_unit(char* buffer, int capacity) const
{
    copy_text(buffer, capacity, "");
}

double ParamHarmFactor::conv_nrm_to_val(float nrm) const
{
    return 4.0 * static_cast<double>(nrm) + 1.0;
}

float ParamHarmFactor::conv_val_to_nrm(double val) const
{
    return static_cast<float>((val - 1.0) * 0.25);
}
