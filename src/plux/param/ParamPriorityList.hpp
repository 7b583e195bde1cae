#pragma once

#include <vector>

#include "plux/param/ParamPriority.hpp"

namespace plux
{

// One ParamPriority per parameter, in DSP order. Sized once when the plug-in is built; an index
// outside the list is never taken.
class ParamPriorityList
{
public:
    void resize(int nbr_param);
    int size() const noexcept { return static_cast<int>(list_.size()); }

    bool can_take(int index, double time, int priority) const noexcept;
    bool take(int index, double time, int priority) noexcept;
    void release(int index, int priority) noexcept;
    void reset() noexcept;
    void set_hold_time(double seconds) noexcept;

    const ParamPriority& use(int index) const { return list_.at(static_cast<std::size_t>(index)); }

private:
    bool is_valid(int index) const noexcept { return index >= 0 && index < size(); }

    std::vector<ParamPriority> list_;
};

} // namespace plux
