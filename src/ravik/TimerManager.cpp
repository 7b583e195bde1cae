#include "ravik/TimerManager.hpp"

#include "ravik/MessageHandlerInterface.hpp"
#include "ravik/TimerMessages.hpp"
#include "sys/Clock.hpp"

namespace ravik
{

int TimerManager::set(const SetTimer& message)
{
    if (timers_.count(message.id) != 0)
    {
        return -1;
    }
    timers_[message.id] = TimerData{message.handler, message.period, 0.0, false};
    return 0;
}

int TimerManager::clear(const ClearTimer& message)
{
    const auto it = timers_.find(message.id);
    if (it == timers_.end() || it->second.cleared)
    {
        return -1;
    }
    it->second.cleared = true;
    to_erase_.insert(message.id);
    if (!polling_)
    {
        erase_cleared();
    }
    return 0;
}

void TimerManager::clear_all()
{
    if (polling_)
    {
        // The poll in progress walks the map: let it end first.
        for (auto& [id, data] : timers_)
        {
            data.cleared = true;
            to_erase_.insert(id);
        }
        return;
    }
    timers_.clear();
    to_erase_.clear();
}

void TimerManager::erase_cleared()
{
    for (const int id : to_erase_)
    {
        timers_.erase(id);
    }
    to_erase_.clear();
}

void TimerManager::poll()
{
    // The clock counts whole milliseconds: compare with half a millisecond to spare, so that
    // the rounding of the differences decides nothing.
    constexpr double slack = 0.0005;
    const double now = sys::get_time_s();
    if (polling_ || now - last_poll_ <= poll_interval + slack)
    {
        return;
    }
    last_poll_ = now;
    polling_ = true;
    // Entries set during a tick are visited in this same walk when their identifier comes later;
    // erasing waits for the end.
    for (auto it = timers_.begin(); it != timers_.end(); ++it)
    {
        TimerData& timer = it->second;
        if (!timer.cleared && now - timer.last_tick + slack >= timer.period)
        {
            timer.last_tick = sys::get_time_s();
            Notify tick(it->first, timer.last_tick);
            timer.handler->process_message(tick);
        }
    }
    polling_ = false;
    erase_cleared();
}

} // namespace ravik
