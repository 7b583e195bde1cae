#include "sys/Clock.hpp"

#include <chrono>

namespace sys
{

double read_system_time_s() noexcept
{
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    return static_cast<double>(ms.count()) * 0.001;
}

} // namespace sys
