#pragma once

#include <string>

namespace plux
{

// Control identifiers: the kind in bits 16 and up (a controller number 0 to 127 for a control
// change, 101 for an RPN, 99 for an NRPN) and the RPN or NRPN number in bits 0 to 13, 0 for a
// control change. Identifiers live in memory only; files store them as text. Values of controls
// are 14-bit; a normalised parameter value is value / 16383.
class MidiCtrl
{
public:
    static constexpr int kind_nrpn = 99;
    static constexpr int kind_rpn = 101;
    static constexpr int max_value = 16383;

    // The number is kept only for the RPN and NRPN kinds, limited to 14 bits.
    static constexpr int make_id(int kind, int number) noexcept
    {
        const bool numbered = kind == kind_nrpn || kind == kind_rpn;
        return (kind << 16) | (numbered ? (number & max_value) : 0);
    }
    static constexpr int get_kind(int ctrl_id) noexcept { return ctrl_id >> 16; }
    static constexpr int get_number(int ctrl_id) noexcept { return ctrl_id & max_value; }

    static float value_to_nrm(int value) noexcept;
    // Rounds to the nearest step; values outside 0 to 1 (and NaN, as 0) are limited first.
    static int nrm_to_value(float nrm) noexcept;

    // "NRPN 3", "RPN 0", "CC 7".
    static std::string to_text(int ctrl_id);
};

} // namespace plux
