#include "plux/midi/MidiCtrl.hpp"

#include <cmath>

namespace plux
{

float MidiCtrl::value_to_nrm(int value) noexcept
{
    const int clipped = value < 0 ? 0 : value > max_value ? max_value : value;
    return static_cast<float>(clipped) / static_cast<float>(max_value);
}

int MidiCtrl::nrm_to_value(float nrm) noexcept
{
    const double clipped = !(nrm > 0.0f) ? 0.0 : nrm > 1.0f ? 1.0 : static_cast<double>(nrm);
    return static_cast<int>(std::floor(clipped * max_value + 0.5));
}

std::string MidiCtrl::to_text(int ctrl_id)
{
    const int kind = get_kind(ctrl_id);
    if (kind == kind_nrpn)
    {
        return "NRPN " + std::to_string(get_number(ctrl_id));
    }
    if (kind == kind_rpn)
    {
        return "RPN " + std::to_string(get_number(ctrl_id));
    }
    return "CC " + std::to_string(kind);
}

} // namespace plux
