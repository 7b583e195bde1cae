#include "effect/param/ParamNbrBand.hpp"

#include <algorithm>

#include "effect/param/ParamText.hpp"
#include "kel/Rounding.hpp"

void ParamNbrBand::get_name(char* buffer, int capacity) const
{
    copy_text(buffer, capacity, "Nbr Bands");
}

void ParamNbrBand::get_unit(char* buffer, int capacity) const
{
    copy_text(buffer, capacity, "");
}

double ParamNbrBand::conv_nrm_to_val(float nrm) const
{
    // The product is formed in float, so the steps fall exactly at the odd multiples of 1/30.
    const float steps = 15.0f * nrm;
    return static_cast<double>(round_int(static_cast<double>(steps))) + 1.0;
}

float ParamNbrBand::conv_val_to_nrm(double val) const
{
    return static_cast<float>((val - 1.0) * 0.06666666666666667);
}

void ParamNbrBand::conv_val_to_str(char* buffer, int capacity, double val) const
{
    char text[ParamText::capacity];
    ParamText::format_int(text, round_int(val), 2);
    copy_text(buffer, std::min(capacity, 3), text);
}

double ParamNbrBand::conv_str_to_val(const char* text, bool& ok) const
{
    return static_cast<double>(round_int(ParamText::read_clamped(text, ok, min_val, max_val)));
}
