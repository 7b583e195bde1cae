#pragma once

#include "effect/param/ParamFixedText.hpp"

// "Tone": the equal-power balance between the main band (0) and the harmonic bands (1).
class ParamHarmBalance : public ParamFixedText
{
public:
    static constexpr double min_val = 0.0;
    static constexpr double max_val = 1.0;
    static constexpr double default_val = 0.5;

    ParamHarmBalance()
        : ParamFixedText(min_val, max_val)
    {
    }

    void get_name(char* buffer, int capacity) const override;
    void get_unit(char* buffer, int capacity) const override;
    double conv_nrm_to_val(float nrm) const override;
    float conv_val_to_nrm(double val) const override;
};
