#include "plux/midi/MidiCtrlMap.hpp"

#include <algorithm>

namespace plux
{

MidiCtrlMap::MidiCtrlMap(std::size_t capacity)
    : entries_(std::make_unique<Entry[]>(capacity))
    , capacity_(capacity)
{
}

bool MidiCtrlMap::assign(const MidiCtrlMap& other) noexcept
{
    if (other.size_ > capacity_)
    {
        return false;
    }
    std::copy_n(other.entries_.get(), other.size_, entries_.get());
    size_ = other.size_;
    return true;
}

bool MidiCtrlMap::bind(int param, int ctrl_id) noexcept
{
    const std::size_t pos = lower_bound(ctrl_id);
    const bool ctrl_found = pos < size_ && entries_[pos].ctrl_id == ctrl_id;
    const int old_ctrl = find_ctrl(param);
    // A new entry needs a place unless the parameter's old one leaves.
    if (!ctrl_found && old_ctrl < 0 && size_ >= capacity_)
    {
        return false;
    }
    if (old_ctrl >= 0 && old_ctrl != ctrl_id)
    {
        erase_at(lower_bound(old_ctrl));
    }
    const std::size_t at = lower_bound(ctrl_id);
    if (at < size_ && entries_[at].ctrl_id == ctrl_id)
    {
        entries_[at].param = param;
        return true;
    }
    std::move_backward(entries_.get() + at, entries_.get() + size_, entries_.get() + size_ + 1);
    entries_[at] = {ctrl_id, param};
    ++size_;
    return true;
}

void MidiCtrlMap::unbind(int param) noexcept
{
    for (std::size_t pos = size_; pos-- > 0;)
    {
        if (entries_[pos].param == param)
        {
            erase_at(pos);
        }
    }
}

int MidiCtrlMap::find_param(int ctrl_id) const noexcept
{
    const std::size_t pos = lower_bound(ctrl_id);
    return pos < size_ && entries_[pos].ctrl_id == ctrl_id ? entries_[pos].param : -1;
}

int MidiCtrlMap::find_ctrl(int param) const noexcept
{
    const Entry* const begin = entries_.get();
    const Entry* const end = begin + size_;
    const Entry* const found =
        std::find_if(begin, end, [param](const Entry& e) { return e.param == param; });
    return found != end ? found->ctrl_id : -1;
}

std::size_t MidiCtrlMap::lower_bound(int ctrl_id) const noexcept
{
    const Entry* const found =
        std::lower_bound(entries_.get(), entries_.get() + size_, ctrl_id,
                         [](const Entry& e, int id) { return e.ctrl_id < id; });
    return static_cast<std::size_t>(found - entries_.get());
}

void MidiCtrlMap::erase_at(std::size_t pos) noexcept
{
    std::move(entries_.get() + pos + 1, entries_.get() + size_, entries_.get() + pos);
    --size_;
}

} // namespace plux
