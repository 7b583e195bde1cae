#pragma once

#include "plux/param/NormalizedParamInterface.hpp"

// A continuous parameter whose text is its value in "%f" cut to five characters, and whose typed
// entry is one number clamped to its range.
class ParamFixedText : public plux::NormalizedParamInterface
{
public:
    ParamFixedText(double min_val, double max_val)
        : min_val_(min_val)
        , max_val_(max_val)
    {
    }

    bool is_discrete() const override { return false; }
    void conv_val_to_str(char* buffer, int capacity, double val) const override;
    double conv_str_to_val(const char* text, bool& ok) const override;

private:
    double min_val_;
    double max_val_;
};
