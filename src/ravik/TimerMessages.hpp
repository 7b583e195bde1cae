#pragma once

#include <atomic>

#include "ravik/MessageInterface.hpp"

namespace ravik
{

class MessageHandlerInterface;

// A timer's tick (id: the timer, value: the time of the tick in seconds), or any numbered event.
class Notify : public MessageDown, public TimerMessage
{
public:
    Notify(int id, double value, const Rect& area = {})
        : MessageDown(area)
        , id(id)
        , value(value)
    {
    }

    int id;
    double value;
};

// Asks for Notify ticks every period seconds. Every SetTimer takes a new identifier, which the
// sender learns before sending.
class SetTimer : public MessageUp, public TimerMessage
{
public:
    // One process-wide counter; the first identifier is 1.
    class TimerIdGenerator
    {
    public:
        static int next() noexcept { return ++counter_; }

    private:
        static inline std::atomic<int> counter_{0};
    };

    SetTimer(MessageHandlerInterface* handler, float period, int& id_out)
        : handler(handler)
        , period(period)
        , id(TimerIdGenerator::next())
    {
        id_out = id;
    }

    MessageHandlerInterface* handler;
    float period;
    int id;
};

class ClearTimer : public MessageUp, public TimerMessage
{
public:
    explicit ClearTimer(int id)
        : id(id)
    {
    }

    int id;
};

} // namespace ravik
