#pragma once

#include "ravik/MessageInterface.hpp"

namespace ravik
{

class MessageHandlerInterface;

// Button and modifier bits of mouse messages.
namespace mouse
{
constexpr int left = 1;
constexpr int right = 2;
constexpr int middle = 4;
constexpr int control = 1;
constexpr int shift = 2;
} // namespace mouse

// A press or a release: buttons holds the buttons down after the event (0 on the release of the
// last one); double_click names the button of a double click, 0 otherwise.
class MouseClick : public MessageDown, public MouseMessage
{
public:
    MouseClick(const Point& pos, int buttons, int modifiers = 0, int double_click = 0)
        : MessageDown({pos.x, pos.y, pos.x, pos.y})
        , pos(pos)
        , buttons(buttons)
        , modifiers(modifiers)
        , double_click(double_click)
    {
    }

    Point pos;
    int buttons;
    int modifiers;
    int double_click;
};

// During a capture in relative mode, pos is the motion since the last message.
class MouseMove : public MessageDown, public MouseMessage
{
public:
    explicit MouseMove(const Point& pos)
        : MessageDown({pos.x, pos.y, pos.x, pos.y})
        , pos(pos)
    {
    }

    Point pos;
};

// One notch of a wheel is 1.0 step; positive away from the user.
class MouseWheelMove : public MessageDown, public MouseMessage
{
public:
    MouseWheelMove(const Point& pos, float steps, int modifiers = 0, float first_step = 0.0f)
        : MessageDown({pos.x, pos.y, pos.x, pos.y})
        , pos(pos)
        , first_step(first_step)
        , steps(steps)
        , modifiers(modifiers)
    {
    }

    Point pos;
    float first_step;
    float steps;
    int modifiers;
};

// Every move, to the handlers that asked for them, relative to the handler's position.
class MouseDirectMove : public MessageDown, public MouseMessage
{
public:
    explicit MouseDirectMove(const Point& pos)
        : MessageDown({pos.x, pos.y, pos.x, pos.y})
        , pos(pos)
    {
    }

    Point pos;
};

class MouseCaptureLost : public MessageDown, public MouseMessage
{
};

// Capture modes: the cursor stays visible; it is hidden; it is hidden and moves are relative,
// the cursor being put back at the hot spot.
namespace capture
{
constexpr int visible = 0;
constexpr int hidden = 1;
constexpr int relative = 2;
} // namespace capture

class MouseCapture : public MessageUp, public MouseMessage
{
public:
    MouseCapture(MessageHandlerInterface* handler, int mode)
        : handler(handler)
        , mode(mode)
    {
    }

    MessageHandlerInterface* handler;
    int mode;
};

// Ends the capture; in relative mode the cursor goes to pos when has_pos, else to the hot spot.
class MouseRelease : public MessageUp, public MouseMessage
{
public:
    explicit MouseRelease(MessageHandlerInterface* handler)
        : handler(handler)
    {
    }
    MouseRelease(MessageHandlerInterface* handler, const Point& pos)
        : handler(handler)
        , pos(pos)
        , has_pos(true)
    {
    }

    MessageHandlerInterface* handler;
    Point pos;
    bool has_pos = false;
};

class MouseDirectCapture : public MessageUp, public MouseMessage
{
public:
    explicit MouseDirectCapture(MessageHandlerInterface* handler)
        : handler(handler)
    {
    }

    MessageHandlerInterface* handler;
};

class MouseDirectRelease : public MessageUp, public MouseMessage
{
public:
    explicit MouseDirectRelease(MessageHandlerInterface* handler)
        : handler(handler)
    {
    }

    MessageHandlerInterface* handler;
};

} // namespace ravik
