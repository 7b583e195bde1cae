#include "plux/midi/MidiChannelState.hpp"

#include "basic/BigEndian.hpp"

namespace plux
{

namespace
{

constexpr int max_14bit = 16383;
constexpr int err_malformed = -1;

} // namespace

void MidiChannelState::reset() noexcept
{
    param_type = param_type_rpn;
    rpn_number = 0;
    nrpn_number = 0;
    nrpn_values.fill(0);
    bend_range = def_bend_range;
    tuning = def_tuning;
    pitch_bend = def_pitch_bend;
    bank = 0;
    program = 0;
    sustain = false;
    sostenuto = false;
    notes.reset();
}

int MidiChannelState::read(std::span<const std::uint8_t> src)
{
    if (src.size() < static_cast<std::size_t>(serial_size) || src[0] != format || src[1] > 1)
    {
        return err_malformed;
    }
    // Everything is checked into a copy, so a malformed state leaves this one as it was.
    MidiChannelState state;
    state.param_type = src[1];
    int* const words[] = {&state.rpn_number, &state.nrpn_number, &state.bend_range,
                          &state.tuning,     &state.pitch_bend,  &state.bank};
    const std::uint8_t* pos = &src[2];
    for (int* word : words)
    {
        *word = basic::big_endian::load_u16(pos);
        pos += 2;
        if (*word > max_14bit)
        {
            return err_malformed;
        }
    }
    state.program = *pos++;
    const std::uint8_t pedals = *pos++;
    if (state.program > 127 || pedals > 3)
    {
        return err_malformed;
    }
    state.sustain = (pedals & 1) != 0;
    state.sostenuto = (pedals & 2) != 0;
    for (int note = 0; note < 128; ++note)
    {
        state.notes[static_cast<std::size_t>(note)] = ((pos[note / 8] >> (note % 8)) & 1) != 0;
    }
    pos += 16;
    for (std::int16_t& value : state.nrpn_values)
    {
        const int read = basic::big_endian::load_u16(pos);
        pos += 2;
        if (read > max_14bit)
        {
            return err_malformed;
        }
        value = static_cast<std::int16_t>(read);
    }
    *this = state;
    return 0;
}

int MidiChannelState::write(std::span<std::uint8_t> dst) const
{
    if (dst.size() < static_cast<std::size_t>(serial_size))
    {
        return err_malformed;
    }
    dst[0] = format;
    dst[1] = static_cast<std::uint8_t>(param_type);
    std::uint8_t* pos = &dst[2];
    for (const int word : {rpn_number, nrpn_number, bend_range, tuning, pitch_bend, bank})
    {
        basic::big_endian::store_u16(pos, static_cast<std::uint16_t>(word));
        pos += 2;
    }
    *pos++ = static_cast<std::uint8_t>(program);
    *pos++ = static_cast<std::uint8_t>((sustain ? 1 : 0) | (sostenuto ? 2 : 0));
    for (int byte = 0; byte < 16; ++byte)
    {
        std::uint8_t bits = 0;
        for (int bit = 0; bit < 8; ++bit)
        {
            if (notes[static_cast<std::size_t>(byte * 8 + bit)])
            {
                bits = static_cast<std::uint8_t>(bits | (1 << bit));
            }
        }
        *pos++ = bits;
    }
    for (const std::int16_t value : nrpn_values)
    {
        basic::big_endian::store_u16(pos, static_cast<std::uint16_t>(value));
        pos += 2;
    }
    return 0;
}

} // namespace plux
