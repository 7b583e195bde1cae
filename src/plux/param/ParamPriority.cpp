#include "plux/param/ParamPriority.hpp"

#include <algorithm>
#include <cmath>

namespace plux
{

namespace
{

constexpr std::uint64_t priority_mask = 0xFFFF;
// Times beyond this (about 4000 years) or before 0 are clamped; the clock starts near 0.
constexpr std::int64_t max_time_ms = (std::int64_t{1} << 47) - 1;

} // namespace

ParamPriority::ParamPriority(const ParamPriority& other) noexcept
    : state_(other.state_.load())
    , hold_ms_(other.hold_ms_.load())
{
}

ParamPriority& ParamPriority::operator=(const ParamPriority& other) noexcept
{
    state_.store(other.state_.load());
    hold_ms_.store(other.hold_ms_.load());
    return *this;
}

std::uint64_t ParamPriority::pack(std::int64_t time_ms, int priority) noexcept
{
    return (static_cast<std::uint64_t>(time_ms) << 16) |
           (static_cast<std::uint64_t>(std::clamp(priority, 0, 0xFFFF)) & priority_mask);
}

std::int64_t ParamPriority::time_of(std::uint64_t state) noexcept
{
    return static_cast<std::int64_t>(state >> 16);
}

int ParamPriority::priority_of(std::uint64_t state) noexcept
{
    return static_cast<int>(state & priority_mask);
}

std::int64_t ParamPriority::to_ms(double time) noexcept
{
    const double ms = std::round(time * 1000.0);
    if (!(ms > 0.0))
    {
        return 0;
    }
    return ms >= static_cast<double>(max_time_ms) ? max_time_ms : static_cast<std::int64_t>(ms);
}

bool ParamPriority::accepts(std::uint64_t state, std::int64_t time_ms, int priority) const noexcept
{
    return priority >= priority_of(state) ||
           time_ms > time_of(state) + hold_ms_.load(std::memory_order_relaxed);
}

bool ParamPriority::can_take(double time, int priority) const noexcept
{
    return accepts(state_.load(std::memory_order_acquire), to_ms(time), priority);
}

bool ParamPriority::take(double time, int priority) noexcept
{
    const std::int64_t time_ms = to_ms(time);
    const std::uint64_t wanted = pack(time_ms, priority);
    std::uint64_t state = state_.load(std::memory_order_acquire);
    do
    {
        if (!accepts(state, time_ms, priority))
        {
            return false;
        }
    } while (!state_.compare_exchange_weak(state, wanted, std::memory_order_acq_rel,
                                           std::memory_order_acquire));
    return true;
}

void ParamPriority::release(int priority) noexcept
{
    std::uint64_t state = state_.load(std::memory_order_acquire);
    while (priority_of(state) == std::clamp(priority, 0, 0xFFFF))
    {
        if (state_.compare_exchange_weak(state, pack(time_of(state), 0), std::memory_order_acq_rel,
                                         std::memory_order_acquire))
        {
            return;
        }
    }
}

void ParamPriority::reset() noexcept
{
    std::uint64_t state = state_.load(std::memory_order_acquire);
    while (!state_.compare_exchange_weak(state, pack(time_of(state), 0), std::memory_order_acq_rel,
                                         std::memory_order_acquire))
    {
    }
}

void ParamPriority::set_hold_time(double seconds) noexcept
{
    hold_ms_.store(to_ms(seconds), std::memory_order_relaxed);
}

int ParamPriority::get_priority() const noexcept
{
    return priority_of(state_.load(std::memory_order_acquire));
}

double ParamPriority::get_last_take_time() const noexcept
{
    return static_cast<double>(time_of(state_.load(std::memory_order_acquire))) * 0.001;
}

} // namespace plux
