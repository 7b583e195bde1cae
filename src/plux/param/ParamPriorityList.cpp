#include "plux/param/ParamPriorityList.hpp"

#include <algorithm>

namespace plux
{

void ParamPriorityList::resize(int nbr_param)
{
    list_.resize(static_cast<std::size_t>(std::max(nbr_param, 0)));
}

bool ParamPriorityList::can_take(int index, double time, int priority) const noexcept
{
    return is_valid(index) && list_[static_cast<std::size_t>(index)].can_take(time, priority);
}

bool ParamPriorityList::take(int index, double time, int priority) noexcept
{
    return is_valid(index) && list_[static_cast<std::size_t>(index)].take(time, priority);
}

void ParamPriorityList::release(int index, int priority) noexcept
{
    if (is_valid(index))
    {
        list_[static_cast<std::size_t>(index)].release(priority);
    }
}

void ParamPriorityList::reset() noexcept
{
    for (auto& p : list_)
    {
        p.reset();
    }
}

void ParamPriorityList::set_hold_time(double seconds) noexcept
{
    for (auto& p : list_)
    {
        p.set_hold_time(seconds);
    }
}

} // namespace plux
