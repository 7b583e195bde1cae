#include "sys/Clock.hpp"

#include <atomic>

namespace sys
{

namespace
{

class SystemClock final : public ClockInterface
{
public:
    double get_time_s() const noexcept override { return read_system_time_s(); }
    double get_coarse_time_s() const noexcept override { return read_system_coarse_time_s(); }
};

SystemClock system_clock;
std::atomic<ClockInterface*> current{&system_clock};

} // namespace

ClockInterface& use_system_clock() noexcept
{
    return system_clock;
}

ClockInterface& use_clock() noexcept
{
    return *current.load(std::memory_order_acquire);
}

ClockInterface* set_clock(ClockInterface* clock) noexcept
{
    ClockInterface* previous =
        current.exchange(clock != nullptr ? clock : &system_clock, std::memory_order_acq_rel);
    return previous == &system_clock ? nullptr : previous;
}

} // namespace sys
