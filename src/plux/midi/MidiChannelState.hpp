#pragma once

#include <array>
#include <bitset>
#include <cstdint>

#include "basic/SerializableInterface.hpp"

namespace plux
{

// What one MIDI channel of an input remembers between messages: which RPN or NRPN the data
// entry controllers address, the NRPN values, the pitch bend range and tuning, and the state of
// notes, pedals, pitch bend and program that this effect does not use. Written and read by the
// thread that decodes the input (the audio thread).
//
// Serialised form, big-endian, get_size() bytes: format (u8, 1), param_type (u8), rpn_number,
// nrpn_number, bend_range, tuning, pitch_bend, bank (u16 each), program (u8), pedals (u8: bit 0
// sustain, bit 1 sostenuto), the 128 note bits (16 bytes, note n in bit n mod 8 of byte n / 8),
// then the 2048 NRPN values (u16 each).
class MidiChannelState final : public basic::SerializableInterface
{
public:
    static constexpr int nbr_nrpn_values = 2048;
    static constexpr int param_type_rpn = 0;
    static constexpr int param_type_nrpn = 1;
    static constexpr int def_bend_range = 256; // 2 semitones, 0 cents
    static constexpr int def_tuning = 8192;    // no detune
    static constexpr int def_pitch_bend = 8192;

    MidiChannelState() noexcept { reset(); }

    void reset() noexcept;

    int read(std::span<const std::uint8_t> src) override;
    int write(std::span<std::uint8_t> dst) const override;
    int get_size() const override { return serial_size; }

    // Which number the data entry controllers address: param_type_rpn or param_type_nrpn.
    int param_type;
    // 14-bit numbers: MSB × 128 + LSB.
    int rpn_number;
    int nrpn_number;
    // The current values of NRPN 0 to 2047, 14-bit.
    std::array<std::int16_t, nbr_nrpn_values> nrpn_values;
    // 14-bit: semitones × 128 + cents.
    int bend_range;
    // 14-bit, 8192 in tune.
    int tuning;
    int pitch_bend;
    // 14-bit: bank select MSB × 128 + LSB.
    int bank;
    int program;
    bool sustain;
    bool sostenuto;
    std::bitset<128> notes;

private:
    static constexpr int serial_size = 2 + 6 * 2 + 2 + 16 + nbr_nrpn_values * 2;
    static constexpr std::uint8_t format = 1;
};

} // namespace plux
