#pragma once

namespace sys
{

// Where the plug-in reads the time: seconds in whole milliseconds, monotonic, from an arbitrary
// origin. The frame's priority holds and gestures, the background tasks and the toolkit's timers
// all read this one clock, so that a test can put a clock of its own in its place and move time
// on without waiting for it.
class ClockInterface
{
public:
    virtual ~ClockInterface() = default;

    // Any thread, the audio thread included: never blocks.
    virtual double get_time_s() const noexcept = 0;
    // The same clock read more cheaply, possibly a few milliseconds behind: for readings taken
    // at every automated parameter change to time holds of half a second.
    virtual double get_coarse_time_s() const noexcept { return get_time_s(); }
};

// The system's millisecond clock, and its reading, which each system's twin makes its own way.
ClockInterface& use_system_clock() noexcept;
double read_system_time_s() noexcept;
double read_system_coarse_time_s() noexcept;

// The clock in use: the system's unless replaced.
ClockInterface& use_clock() noexcept;

// Puts clock in place of the one in use (null: the system's) and answers the one it replaces.
// Not owned: it must stay alive while it is in use.
ClockInterface* set_clock(ClockInterface* clock) noexcept;

inline double get_time_s() noexcept
{
    return use_clock().get_time_s();
}

inline double get_coarse_time_s() noexcept
{
    return use_clock().get_coarse_time_s();
}

} // namespace sys
