#pragma once

#include "plux/param/NormalizedParamInterface.hpp"

// "Dist Routing": 0 shapes the main band alone before the mix ("Pre"), 1 the whole mix ("Post").
class ParamDistoRouting : public plux::NormalizedParamInterface
{
public:
    static constexpr double min_val = 0.0;
    static constexpr double max_val = 1.0;
    static constexpr double default_val = 1.0;

    void get_name(char* buffer, int capacity) const override;
    void get_unit(char* buffer, int capacity) const override;
    bool is_discrete() const override { return true; }
    double conv_nrm_to_val(float nrm) const override;
    float conv_val_to_nrm(double val) const override;
    void conv_val_to_str(char* buffer, int capacity, double val) const override;
    double conv_str_to_val(const char* text, bool& ok) const override;
};
