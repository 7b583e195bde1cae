#include "plux/midi/MidiRegSettings.hpp"

#include <utility>

#include "plux/setting/RegSettings.hpp"

namespace plux
{

MidiRegSettings::MidiRegSettings(std::string maker)
    : maker_(std::move(maker))
{
}

MidiRegSettings::~MidiRegSettings() = default;

void MidiRegSettings::init(const std::string& plugin_name)
{
    auto reg = std::make_unique<RegSettings>(maker_, plugin_name);
    const int nrpn_compat = reg->read_nrpn_compat();
    const int autobind_mode = reg->read_autobind_mode();
    const std::lock_guard lock(mutex_);
    reg_ = std::move(reg);
    nrpn_compat_.store(nrpn_compat, std::memory_order_relaxed);
    autobind_mode_.store(autobind_mode, std::memory_order_relaxed);
}

int MidiRegSettings::set_nrpn_compat(int value)
{
    const std::lock_guard lock(mutex_);
    if (reg_ == nullptr || reg_->write_nrpn_compat(value) != 0)
    {
        return -1;
    }
    nrpn_compat_.store(value != 0 ? 1 : 0, std::memory_order_relaxed);
    return 0;
}

int MidiRegSettings::set_autobind_mode(int value)
{
    const std::lock_guard lock(mutex_);
    if (reg_ == nullptr || reg_->write_autobind_mode(value) != 0)
    {
        return -1;
    }
    autobind_mode_.store(value != 0 ? 1 : 0, std::memory_order_relaxed);
    return 0;
}

std::string MidiRegSettings::get_sub_path() const
{
    const std::lock_guard lock(mutex_);
    return reg_ != nullptr ? reg_->get_product_path() : std::string();
}

} // namespace plux
