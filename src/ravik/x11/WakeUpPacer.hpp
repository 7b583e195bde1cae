#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <limits>

namespace ravik
{

// When TickerX11 sends its wake-ups. One is on its way at a time: the next goes at the first turn
// after the host delivered it, or when it seems lost. Each loss doubles the time the next one is
// given, up to longest_resend, so that a lost or dropped message holds the timers up for a few
// milliseconds while a host that never delivers them gets only a few a second; a delivery starts
// over. Nothing goes while the host calls idle.
//
// Wake-ups carry serial numbers, and only the delivery of the latest one ends its flight: the
// host may deliver a wake-up before the ticker is done sending it, or a late resent one after.
// delivered() and idled() are for the host's thread, the rest for the ticker's.
class WakeUpPacer
{
public:
    using Clock = std::chrono::steady_clock;

    static constexpr std::chrono::milliseconds period{4};
    // Without idle for this long, the host is taken not to call it.
    static constexpr std::chrono::milliseconds idle_gap{100};
    static constexpr std::chrono::milliseconds first_resend{16};
    static constexpr std::chrono::milliseconds longest_resend{256};

    // Not while the host or the ticker uses it.
    void reset();

    void delivered(std::uint32_t serial) { delivered_.store(serial); }
    void idled(Clock::time_point now) { last_idle_.store(now.time_since_epoch().count()); }

    // Whether a wake-up goes at now; when one does, serial is the one it carries.
    bool take_turn(Clock::time_point now, std::uint32_t& serial);
    // How long the ticker may sleep before its next turn.
    Clock::duration get_wait(Clock::time_point now) const;

private:
    static constexpr Clock::rep never = std::numeric_limits<Clock::rep>::min();

    // Whether the host called idle less than idle_gap before now; since: how long before.
    bool is_idling(Clock::time_point now, Clock::duration& since) const;

    std::atomic<std::uint32_t> delivered_{0};
    std::atomic<Clock::rep> last_idle_{never};
    std::uint32_t sent_ = 0;
    Clock::time_point sent_at_;
    Clock::duration resend_after_ = first_resend;
};

} // namespace ravik
