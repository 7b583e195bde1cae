#pragma once

#include "effect/param/ParamFixedText.hpp"

// "Evolution": the delay step between harmonic bands, -50 to 50 ms on a cubic curve around 0.
class ParamBandDelay : public ParamFixedText
{
public:
    static constexpr double min_val = -50.0;
    static constexpr double max_val = 50.0;
    static constexpr double default_val = 0.0;

    ParamBandDelay()
        : ParamFixedText(min_val, max_val)
    {
    }

    void get_name(char* buffer, int capacity) const override;
    void get_unit(char* buffer, int capacity) const override;
    double conv_nrm_to_val(float nrm) const override;
    float conv_val_to_nrm(double val) const override;
};
