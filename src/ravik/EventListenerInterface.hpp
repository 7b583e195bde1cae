#pragma once

namespace ravik
{

class ControlInterface;
class MessageInterface;

// What a control tells the objects bound to it. Origin says who caused a change: 200 the user's
// mouse or keyboard, 255 a value forced by preset code, smaller values for softer sources.
class EventListenerInterface
{
public:
    virtual ~EventListenerInterface() = default;

    virtual void begin_gesture() = 0;
    virtual void end_gesture() = 0;
    // Whether a change with this origin may happen now.
    virtual bool accept(int origin) = 0;
    virtual void trigger(int origin) = 0;
    virtual void signal(int origin) = 0;
    // Value filters: each receives the previous one's output and returns the value to keep.
    virtual double filter_value(double value, int origin) = 0;
    virtual double filter_user_value(double value, int origin) = 0;
    virtual double filter_set_value(double value, int origin) = 0;
    virtual void notify(int code, void* data) = 0;
    virtual void before_message(MessageInterface& message) = 0;
    virtual void after_message(MessageInterface& message) = 0;
    virtual void set_control(ControlInterface* control) = 0;
    virtual ControlInterface* get_control() const = 0;
};

} // namespace ravik
