#pragma once

#include "effect/param/ParamFixedText.hpp"

// "Dist Gain": the drive into the arctangent shaper, 1 to 10 on a logarithmic curve.
class ParamDistoGain : public ParamFixedText
{
public:
    static constexpr double min_val = 1.0;
    static constexpr double max_val = 10.0;
    static constexpr double default_val = 1.0;

    ParamDistoGain()
        : ParamFixedText(min_val, max_val)
    {
    }

    void get_name(char* buffer, int capacity) const override;
    void get_unit(char* buffer, int capacity) const override;
    double conv_nrm_to_val(float nrm) const override;
    float conv_val_to_nrm(double val) const override;
};
