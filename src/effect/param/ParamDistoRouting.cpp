#include "effect/param/ParamDistoRouting.hpp"

#include <cmath>
#include <cstring>

#include "kel/NoCase.hpp"
#include "kel/Rounding.hpp"

void ParamDistoRouting::get_name(char* buffer, int capacity) const
{
    copy_text(buffer, capacity, "Dist Routing");
}

void ParamDistoRouting::get_unit(char* buffer, int capacity) const
{
    copy_text(buffer, capacity, "");
}

double ParamDistoRouting::conv_nrm_to_val(float nrm) const
{
    return std::floor(static_cast<double>(nrm) + 0.5);
}

float ParamDistoRouting::conv_val_to_nrm(double val) const
{
    return static_cast<float>(std::floor(val + 0.5));
}

void ParamDistoRouting::conv_val_to_str(char* buffer, int capacity, double val) const
{
    switch (round_int(val))
    {
    case 0:
        copy_text(buffer, capacity, "Pre");
        break;
    case 1:
        copy_text(buffer, capacity, "Post");
        break;
    default:
        copy_text(buffer, capacity, "### ERROR ###");
        break;
    }
}

double ParamDistoRouting::conv_str_to_val(const char* text, bool& ok) const
{
    if (text == nullptr)
    {
        return 0.0;
    }
    // "pre" wins when both words occur.
    if (kel::contains_no_case(text, "pre"))
    {
        ok = true;
        return 0.0;
    }
    if (kel::contains_no_case(text, "post"))
    {
        ok = true;
        return 1.0;
    }
    return 0.0;
}
