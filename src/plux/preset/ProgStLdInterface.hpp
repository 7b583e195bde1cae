#pragma once

namespace plux
{

class ProgramSlot;

// Makes the programs that a preset morph passes through on its way from one program to another.
class ProgStLdInterface
{
public:
    virtual ~ProgStLdInterface() = default;

    // Writes into out the program at t (0: from, 1: to). Values that the interpolator leaves
    // alone keep what out held.
    virtual void interpolate(ProgramSlot& out, const ProgramSlot& from, const ProgramSlot& to,
                             double t) = 0;
};

} // namespace plux
