#pragma once

#include "effect/param/ParamFixedText.hpp"

// "Band Spacing": the harmonic bands sit at multiples of cutoff times spacing, 1 to 5.
class ParamHarmFactor : public ParamFixedText
{
public:
    static constexpr double min_val = 1.0;
    static constexpr double max_val = 5.0;
    static constexpr double default_val = 2.0;

    ParamHarmFactor()
        : ParamFixedText(min_val, max_val)
    {
    }

    void get_name(char* buffer, int capacity) const override;
    void get_unit(char* buffer, int capacity) const override;
    double conv_nrm_to_val(float nrm) const override;
    float conv_val_to_nrm(double val) const override;
};
