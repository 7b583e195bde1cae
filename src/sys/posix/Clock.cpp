#include "sys/Clock.hpp"

#include <chrono>
#include <ctime>

namespace sys
{

double read_system_time_s() noexcept
{
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    return static_cast<double>(ms.count()) * 0.001;
}

// Linux's coarse monotonic clock runs from the steady clock's origin at the scheduler's tick
// (1 to 10 ms) and costs a fraction of a precise reading; a tick too coarse for a hold of half a
// second falls back on the precise clock.
double read_system_coarse_time_s() noexcept
{
#ifdef CLOCK_MONOTONIC_COARSE
    static const bool usable = []
    {
        timespec res{};
        return ::clock_getres(CLOCK_MONOTONIC_COARSE, &res) == 0 && res.tv_sec == 0 &&
               res.tv_nsec <= 10'000'000;
    }();
    timespec now{};
    if (usable && ::clock_gettime(CLOCK_MONOTONIC_COARSE, &now) == 0)
    {
        const long long ms = static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
        return static_cast<double>(ms) * 0.001;
    }
#endif
    return read_system_time_s();
}

} // namespace sys
