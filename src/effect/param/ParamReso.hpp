#pragma once

#include "effect/param/ParamFixedText.hpp"

// "Resonance": the Q of the main band, 1 to 100 on a logarithmic curve.
class ParamReso : public ParamFixedText
{
public:
    static constexpr double min_val = 1.0;
    static constexpr double max_val = 100.0;
    static constexpr double default_val = 1.0;

    ParamReso()
        : ParamFixedText(min_val, max_val)
    {
    }

    void get_name(char* buffer, int capacity) const override;
    void get_unit(char* buffer, int capacity) const override;
    double conv_nrm_to_val(float nrm) const override;
    float conv_val_to_nrm(double val) const override;
};
