#include "plux/midi/MidiInCcMixin.hpp"

#include "plux/midi/MidiCtrl.hpp"
#include "plux/midi/MidiMgr.hpp"
#include "plux/midi/MidiReceiverInterface.hpp"
#include "plux/midi/MidiRegSettings.hpp"

namespace plux
{

namespace
{

constexpr int ctrl_bank_msb = 0;
constexpr int ctrl_data_msb = 6;
constexpr int ctrl_bank_lsb = 32;
constexpr int ctrl_data_lsb = 38;
constexpr int ctrl_sustain = 64;
constexpr int ctrl_sostenuto = 66;
constexpr int ctrl_nrpn_lsb = 98;
constexpr int ctrl_nrpn_msb = 99;
constexpr int ctrl_rpn_lsb = 100;
constexpr int ctrl_rpn_msb = 101;

constexpr int rpn_bend_range = 0;
constexpr int rpn_fine_tuning = 1;
constexpr int rpn_coarse_tuning = 2;
constexpr int rpn_null = 16383;

int with_msb(int word, int value) noexcept
{
    return (word & 0x7F) | ((value & 0x7F) << 7);
}

int with_lsb(int word, int value) noexcept
{
    return (word & ~0x7F) | (value & 0x7F);
}

} // namespace

void MidiInCcMixin::attach(MidiMgr& mgr) noexcept
{
    mgr_ = &mgr;
    reg_ = &mgr.use_reg_settings();
    init(&mgr);
}

void MidiInCcMixin::process_msg(int status, int data_1, int data_2) noexcept
{
    if (status < 0x80 || status >= 0xF0)
    {
        return;
    }
    const int chn = status & 0x0F;
    data_1 &= 0x7F;
    data_2 &= 0x7F;
    MidiChannelState& state = edit_chn(chn);
    MidiReceiverInterface* const receiver = get_receiver();
    switch (status >> 4)
    {
    case 0x8:
        state.notes.reset(static_cast<std::size_t>(data_1));
        if (receiver != nullptr)
        {
            receiver->note_off(chn, data_1, data_2);
        }
        break;
    case 0x9:
        state.notes.set(static_cast<std::size_t>(data_1), data_2 != 0);
        if (receiver != nullptr)
        {
            if (data_2 != 0)
            {
                receiver->note_on(chn, data_1, data_2);
            }
            else
            {
                receiver->note_off(chn, data_1, 64);
            }
        }
        break;
    case 0xA:
        if (receiver != nullptr)
        {
            receiver->poly_pressure(chn, data_1, data_2);
        }
        break;
    case 0xB:
        process_cc(chn, data_1, data_2);
        break;
    case 0xC:
        state.program = data_1;
        if (receiver != nullptr)
        {
            receiver->prog_change(chn,
                                  data_1 | ((state.bank >> 7) << 7) | ((state.bank & 0x7F) << 14));
        }
        break;
    case 0xD:
        if (receiver != nullptr)
        {
            receiver->chn_pressure(chn, data_1);
        }
        break;
    default: // 0xE
        state.pitch_bend = data_1 | (data_2 << 7);
        if (receiver != nullptr)
        {
            receiver->chn_msg(chn, 0xE, data_1, data_2);
        }
        break;
    }
    if ((status >> 4) == 0xB)
    {
        if (data_1 == ctrl_sustain)
        {
            state.sustain = data_2 > 63;
        }
        else if (data_1 == ctrl_sostenuto)
        {
            state.sostenuto = data_2 > 63;
        }
    }
}

void MidiInCcMixin::process_cc(int chn, int ctrl, int value) noexcept
{
    chn &= 0x0F;
    ctrl &= 0x7F;
    value &= 0x7F;
    MidiChannelState& state = edit_chn(chn);
    // The old erroneous layout takes the first controller of each pair for the LSB.
    const bool standard = reg_ == nullptr || reg_->get_nrpn_compat() != 0;
    switch (ctrl)
    {
    case ctrl_nrpn_msb:
    case ctrl_nrpn_lsb:
        state.nrpn_number = ((ctrl == ctrl_nrpn_msb) == standard)
                                ? with_msb(state.nrpn_number, value)
                                : with_lsb(state.nrpn_number, value);
        state.param_type = MidiChannelState::param_type_nrpn;
        return;
    case ctrl_rpn_msb:
    case ctrl_rpn_lsb:
        state.rpn_number = ((ctrl == ctrl_rpn_msb) == standard) ? with_msb(state.rpn_number, value)
                                                                : with_lsb(state.rpn_number, value);
        state.param_type = MidiChannelState::param_type_rpn;
        return;
    case ctrl_data_msb:
    case ctrl_data_lsb:
        process_data_entry(chn, ctrl == ctrl_data_msb, value);
        return;
    default:
        break;
    }
    if (ctrl == ctrl_bank_msb)
    {
        state.bank = with_msb(state.bank, value);
    }
    else if (ctrl == ctrl_bank_lsb)
    {
        state.bank = with_lsb(state.bank, value);
    }
    if (MidiReceiverInterface* const receiver = get_receiver(); receiver != nullptr)
    {
        receiver->cc(chn, ctrl, value);
    }
    process_ctrl(chn, MidiCtrl::make_id(ctrl, 0), value << 7);
}

void MidiInCcMixin::process_data_entry(int chn, bool msb, int value) noexcept
{
    MidiChannelState& state = edit_chn(chn);
    auto set = [msb, value](int word)
    { return msb ? with_msb(word, value) : with_lsb(word, value); };
    MidiReceiverInterface* const receiver = get_receiver();
    if (state.param_type == MidiChannelState::param_type_nrpn)
    {
        const int number = state.nrpn_number;
        int ctrl_value = 0;
        if (number < MidiChannelState::nbr_nrpn_values)
        {
            auto& stored = state.nrpn_values[static_cast<std::size_t>(number)];
            stored = static_cast<std::int16_t>(set(stored));
            ctrl_value = stored;
        }
        if (receiver != nullptr)
        {
            receiver->nrpn(chn, number, ctrl_value);
        }
        process_ctrl(chn, MidiCtrl::make_id(MidiCtrl::kind_nrpn, number), ctrl_value);
        return;
    }

    switch (state.rpn_number)
    {
    case rpn_bend_range:
        state.bend_range = set(state.bend_range);
        break;
    case rpn_fine_tuning:
        state.tuning = set(state.tuning);
        break;
    case rpn_coarse_tuning:
        if (msb)
        {
            state.tuning = (value & 0x7F) << 7;
        }
        break;
    case rpn_null:
        state.bend_range = MidiChannelState::def_bend_range;
        state.tuning = MidiChannelState::def_tuning;
        state.rpn_number = 0;
        break;
    default:
        break;
    }
    const int number = state.rpn_number;
    const int ctrl_value = number == rpn_bend_range      ? state.bend_range
                           : number == rpn_fine_tuning   ? state.tuning
                           : number == rpn_coarse_tuning ? state.tuning >> 7
                                                         : 0;
    if (receiver != nullptr)
    {
        receiver->rpn(chn, number, ctrl_value);
    }
    process_ctrl(chn, MidiCtrl::make_id(MidiCtrl::kind_rpn, number), ctrl_value);
}

} // namespace plux
