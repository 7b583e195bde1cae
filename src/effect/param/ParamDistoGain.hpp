#pragma once

#include "plux/param/NormalizedParamInterface.hpp"

// "Dist Gain": the drive into the arctangent shaper, 1 to 10 on a logarithmic curve.
class ParamDistoGain : public plux::NormalizedParamInterface
{
public:
    static constexpr double min_val = 1.0;
    static constexpr double max_val = 10.0;
    static constexpr double default_val = 1.0;

    void get_name(char* buffer, int capacity) const override;
    void get_unit(char* buffer, int capacity) const override;
    bool is_discrete() const override { return false; }
    double conv_nrm_to_val(float nrm) const override;
    float conv_val_to_nrm(double val) const override;
    void conv_val_to_str(char* buffer, int capacity, double val) const override;
    double conv_str_to_val(const char* text, bool& ok) const override;
};
