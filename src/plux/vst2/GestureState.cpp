#include "plux/vst2/GestureState.hpp"

#include <algorithm>
#include <utility>

namespace plux
{

void GestureState::resize(int nbr_param)
{
    size_ = std::max(nbr_param, 0);
    state_ = std::make_unique<std::atomic<std::uint8_t>[]>(static_cast<std::size_t>(size_));
    order_ = std::make_unique<std::atomic<std::uint64_t>[]>(static_cast<std::size_t>(size_));
    for (int i = 0; i < size_; ++i)
    {
        state_[static_cast<std::size_t>(i)].store(armed);
    }
}

bool GestureState::move(int index, std::uint8_t from, std::uint8_t to) noexcept
{
    if (index < 0 || index >= size_)
    {
        return false;
    }
    std::uint8_t expected = from;
    return state_[static_cast<std::size_t>(index)].compare_exchange_strong(
        expected, to, std::memory_order_acq_rel, std::memory_order_acquire);
}

bool GestureState::begin_opening(int index) noexcept
{
    if (!move(index, armed, opening))
    {
        return false;
    }
    order_[static_cast<std::size_t>(index)].store(next_order_.fetch_add(1),
                                                  std::memory_order_relaxed);
    return true;
}

void GestureState::finish_opening(int index) noexcept
{
    move(index, opening, open);
}

bool GestureState::begin_closing(int index) noexcept
{
    return move(index, open, closing);
}

void GestureState::finish_closing(int index) noexcept
{
    move(index, closing, armed);
}

bool GestureState::is_armed(int index) const noexcept
{
    return index >= 0 && index < size_ &&
           state_[static_cast<std::size_t>(index)].load(std::memory_order_acquire) == armed;
}

std::vector<int> GestureState::list_open() const
{
    std::vector<std::pair<std::uint64_t, int>> open_list;
    for (int i = 0; i < size_; ++i)
    {
        if (state_[static_cast<std::size_t>(i)].load(std::memory_order_acquire) == open)
        {
            open_list.emplace_back(
                order_[static_cast<std::size_t>(i)].load(std::memory_order_relaxed), i);
        }
    }
    std::sort(open_list.begin(), open_list.end());
    std::vector<int> indices;
    indices.reserve(open_list.size());
    for (const auto& entry : open_list)
    {
        indices.push_back(entry.second);
    }
    return indices;
}

} // namespace plux
