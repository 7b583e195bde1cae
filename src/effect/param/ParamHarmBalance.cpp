#include "effect/param/ParamHarmBalance.hpp"

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
