#include "ravik/x11/WakeUpPacer.hpp"

#include <algorithm>

namespace ravik
{

void WakeUpPacer::reset()
{
    delivered_.store(0);
    last_idle_.store(never);
    sent_ = 0;
    sent_at_ = {};
    resend_after_ = first_resend;
}

bool WakeUpPacer::is_idling(Clock::time_point now, Clock::duration& since) const
{
    const Clock::rep last = last_idle_.load();
    if (last == never)
    {
        return false;
    }
    since = now - Clock::time_point(Clock::duration(last));
    return since < idle_gap;
}

bool WakeUpPacer::take_turn(Clock::time_point now, std::uint32_t& serial)
{
    Clock::duration since_idle{};
    if (is_idling(now, since_idle))
    {
        return false;
    }
    if (delivered_.load() != sent_)
    {
        if (now - sent_at_ < resend_after_)
        {
            return false;
        }
        resend_after_ = std::min<Clock::duration>(2 * resend_after_, longest_resend);
    }
    else
    {
        resend_after_ = first_resend;
    }
    // In flight from here on, before the host can possibly deliver it.
    serial = ++sent_;
    sent_at_ = now;
    return true;
}

WakeUpPacer::Clock::duration WakeUpPacer::get_wait(Clock::time_point now) const
{
    // Waking every few milliseconds only to find that the host calls idle would cost an idle
    // editor more than everything else it does.
    Clock::duration since_idle{};
    if (is_idling(now, since_idle))
    {
        return std::max<Clock::duration>(idle_gap - since_idle, period);
    }
    return period;
}

} // namespace ravik
