#pragma once

#include <atomic>

#include "plux/param/NormalizedParamInterface.hpp"

// "Cutoff Freq": 40 to 10240 Hz, eight octaves on a logarithmic curve. In note mode (chosen by
// the editor) its text is a note name such as 'A 5' and typed note names are accepted.
class ParamCutFreq : public plux::NormalizedParamInterface
{
public:
    static constexpr double min_val = 40.0;
    static constexpr double max_val = 10240.0;
    static constexpr double default_val = 1000.0;

    void get_name(char* buffer, int capacity) const override;
    void get_unit(char* buffer, int capacity) const override;
    bool is_discrete() const override { return false; }
    double conv_nrm_to_val(float nrm) const override;
    float conv_val_to_nrm(double val) const override;
    void conv_val_to_str(char* buffer, int capacity, double val) const override;
    double conv_str_to_val(const char* text, bool& ok) const override;

    // Any thread; changes only texts, never the value.
    void set_note_mode(bool flag) { note_mode_.store(flag, std::memory_order_relaxed); }
    bool is_note_mode() const { return note_mode_.load(std::memory_order_relaxed); }

private:
    double conv_note_to_val(const char* text, bool& ok) const;

    std::atomic<bool> note_mode_{false};
};
