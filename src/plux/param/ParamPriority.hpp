#pragma once

#include <atomic>
#include <cstdint>

namespace plux
{

// Which source holds a parameter, and since when. A change with priority p at time t is taken
// when p is at least the holder's priority, or when the holder's hold time has run out since its
// last accepted change. Sources reach it from the host's audio and user-interface threads, the
// editor, MIDI and the background thread at once: the holder and its time live in one atomic
// word updated by compare-and-swap, so nobody waits and no accepted change is lost.
class ParamPriority
{
public:
    static constexpr double default_hold_time = 0.5;

    ParamPriority() = default;
    ParamPriority(const ParamPriority& other) noexcept;
    ParamPriority& operator=(const ParamPriority& other) noexcept;

    // Times are seconds of the system's millisecond clock.
    bool can_take(double time, int priority) const noexcept;
    bool take(double time, int priority) noexcept;
    // Frees the parameter when priority holds it.
    void release(int priority) noexcept;
    void reset() noexcept;
    void set_hold_time(double seconds) noexcept;

    int get_priority() const noexcept;
    double get_last_take_time() const noexcept;

private:
    // Low 16 bits: the priority; the rest: the last take time in whole milliseconds.
    static std::uint64_t pack(std::int64_t time_ms, int priority) noexcept;
    static std::int64_t time_of(std::uint64_t state) noexcept;
    static int priority_of(std::uint64_t state) noexcept;
    static std::int64_t to_ms(double time) noexcept;
    bool accepts(std::uint64_t state, std::int64_t time_ms, int priority) const noexcept;

    std::atomic<std::uint64_t> state_{0};
    std::atomic<std::int64_t> hold_ms_{500};
};

} // namespace plux
