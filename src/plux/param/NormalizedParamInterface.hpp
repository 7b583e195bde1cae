#pragma once

#include <atomic>

#include "plux/param/NotifierInterface.hpp"

namespace plux
{

// A parameter as every road between subsystems sees it: a normalised value from 0 to 1 and an
// internal value in the parameter's own unit, with conversions between them and to and from
// text. Values are written from the host's, the editor's and the MIDI threads and read on the
// audio thread, so both are atomics; a change becomes visible to the audio thread through the
// target's notification.
class NormalizedParamInterface : public NotifierInterface
{
public:
    ~NormalizedParamInterface() override = default;

    // Stores the internal value and the automation level; the normalised value follows through
    // conv_val_to_nrm(). Tells nobody.
    virtual void set_val(double val, int automation_level);
    // Copy the name or unit, at most capacity - 1 characters, always terminated.
    virtual void get_name(char* buffer, int capacity) const = 0;
    virtual void get_unit(char* buffer, int capacity) const = 0;
    // Stepped parameters take whole values only.
    virtual bool is_discrete() const = 0;
    // Whether a preset morph glides the parameter.
    virtual bool can_interpolate() const { return true; }
    // Runs after every change, before the target is told.
    virtual void update() {}
    virtual double get_val() const { return val_.load(std::memory_order_relaxed); }
    virtual double conv_nrm_to_val(float nrm) const = 0;
    virtual float conv_val_to_nrm(double val) const = 0;
    // The display text of val, at most capacity - 1 characters, always terminated.
    virtual void conv_val_to_str(char* buffer, int capacity, double val) const = 0;
    // Parses text; on success sets ok to true and returns the internal value. On failure ok is
    // left as it was and the result means nothing.
    virtual double conv_str_to_val(const char* text, bool& ok) const = 0;

    float get_nrm() const { return nrm_.load(std::memory_order_relaxed); }
    int get_automation_level() const { return automation_level_.load(std::memory_order_relaxed); }

    // A change, whoever makes it: store the value, convert it to the other representation, run
    // update() and notify the target.
    void set_nrm_and_notify(float nrm);
    void set_val_and_notify(double val);

protected:
    // Copies text into buffer the way get_name() and get_unit() promise.
    static void copy_text(char* buffer, int capacity, const char* text);

private:
    void changed();

    std::atomic<double> val_{0.0};
    std::atomic<float> nrm_{0.0f};
    std::atomic<int> automation_level_{0};
};

} // namespace plux
