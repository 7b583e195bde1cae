#pragma once

#include <map>
#include <set>

namespace ravik
{

class ClearTimer;
class MessageHandlerInterface;
class SetTimer;

// The timers of one window. The window polls every 2 ms (and before each mouse move and paint);
// a timer whose period has passed since its last tick gets a Notify with its identifier and the
// time. Cleared timers stop ticking at once and leave the map at the end of the poll, so a
// handler may clear its own timer, or set another, from inside its tick. Time is read from the
// plug-in's clock. Editor thread only.
class TimerManager
{
public:
    struct TimerData
    {
        MessageHandlerInterface* handler = nullptr;
        float period = 0.0f;
        double last_tick = 0.0;
        bool cleared = false;
    };

    static constexpr double poll_interval = 0.002;

    // -1 when the identifier is already in use.
    int set(const SetTimer& message);
    // -1 when the identifier is unknown.
    int clear(const ClearTimer& message);
    void poll();
    void clear_all();
    int get_nbr_timers() const { return static_cast<int>(timers_.size()); }

private:
    void erase_cleared();

    std::map<int, TimerData> timers_;
    std::set<int> to_erase_;
    double last_poll_ = 0.0;
    bool polling_ = false;
};

} // namespace ravik
