#pragma once

#include <atomic>
#include <cmath>
#include <cstdint>

#include "sys/Clock.hpp"

namespace test
{

// A clock that stands still until the test moves it on; it is the plug-in's clock while it
// lives. It starts far from 0, as a machine's clock does.
class ManualClock final : public sys::ClockInterface
{
public:
    explicit ManualClock(double start_s = 1000.0)
        : now_ms_(std::llround(start_s * 1000.0))
    {
        previous_ = sys::set_clock(this);
    }
    ~ManualClock() override { sys::set_clock(previous_); }
    ManualClock(const ManualClock&) = delete;
    ManualClock& operator=(const ManualClock&) = delete;

    double get_time_s() const noexcept override
    {
        return static_cast<double>(now_ms_.load()) * 0.001;
    }
    void advance(double seconds) { now_ms_ += std::llround(seconds * 1000.0); }

private:
    std::atomic<std::int64_t> now_ms_;
    sys::ClockInterface* previous_ = nullptr;
};

} // namespace test
