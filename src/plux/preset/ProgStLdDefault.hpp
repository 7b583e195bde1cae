#pragma once

#include "plux/preset/ProgStLdInterface.hpp"

namespace plux
{

class DspInterface;

// The straight line between two programs: out takes the to program's number of values and extra
// data; every parameter that takes part in morphs glides, except the stepped ones, which take
// the to value at once. Parameters that do not take part are left alone. Without a DSP side every
// value glides.
class ProgStLdDefault final : public ProgStLdInterface
{
public:
    // Not owned.
    explicit ProgStLdDefault(DspInterface* dsp = nullptr)
        : dsp_(dsp)
    {
    }
    void set_dsp(DspInterface* dsp) { dsp_ = dsp; }

    void interpolate(ProgramSlot& out, const ProgramSlot& from, const ProgramSlot& to,
                     double t) override;

private:
    DspInterface* dsp_;
};

} // namespace plux
