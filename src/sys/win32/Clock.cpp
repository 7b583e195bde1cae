#include "sys/Clock.hpp"

#include <windows.h>

namespace sys
{

// The performance counter, not timeGetTime: that one wraps to 0 after 49.7 days of uptime, which
// would hold parameters against other sources and keep gestures open until the next wrap.
double read_system_time_s() noexcept
{
    static const LONGLONG frequency = []
    {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    // Whole milliseconds, as the priority hold counts them; split so the product cannot overflow.
    const LONGLONG ms =
        now.QuadPart / frequency * 1000 + now.QuadPart % frequency * 1000 / frequency;
    return static_cast<double>(ms) * 0.001;
}

// The tick count would be cheaper, but it runs from another origin than the performance counter.
double read_system_coarse_time_s() noexcept
{
    return read_system_time_s();
}

} // namespace sys
