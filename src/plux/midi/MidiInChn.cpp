#include "plux/midi/MidiInChn.hpp"

#include <memory>

namespace plux
{

void MidiInChn::init(MidiReceiverInterface* receiver) noexcept
{
    receiver_ = receiver;
    reset();
}

void MidiInChn::reset() noexcept
{
    for (MidiChannelState& chn : chn_arr_)
    {
        chn.reset();
    }
}

int MidiInChn::get_size() const
{
    return nbr_chn * chn_arr_[0].get_size();
}

int MidiInChn::read(std::span<const std::uint8_t> src)
{
    const auto chn_size = static_cast<std::size_t>(chn_arr_[0].get_size());
    if (src.size() < static_cast<std::size_t>(get_size()))
    {
        return -1;
    }
    // All channels or none: each is checked into a copy first (on the heap: it is large).
    const auto copy = std::make_unique<std::array<MidiChannelState, nbr_chn>>(chn_arr_);
    for (std::size_t chn = 0; chn < copy->size(); ++chn)
    {
        const int ret = (*copy)[chn].read(src.subspan(chn * chn_size, chn_size));
        if (ret != 0)
        {
            return ret;
        }
    }
    chn_arr_ = *copy;
    return 0;
}

int MidiInChn::write(std::span<std::uint8_t> dst) const
{
    const auto chn_size = static_cast<std::size_t>(chn_arr_[0].get_size());
    if (dst.size() < static_cast<std::size_t>(get_size()))
    {
        return -1;
    }
    for (std::size_t chn = 0; chn < chn_arr_.size(); ++chn)
    {
        const int ret = chn_arr_[chn].write(dst.subspan(chn * chn_size, chn_size));
        if (ret != 0)
        {
            return ret;
        }
    }
    return 0;
}

} // namespace plux
