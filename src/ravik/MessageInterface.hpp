#pragma once

#include "ravik/Geometry.hpp"

namespace ravik
{

// Everything that travels through the toolkit's trees. Handlers tell types apart with
// dynamic_cast.
class MessageInterface
{
public:
    virtual ~MessageInterface() = default;
};

// Sent from the window towards the leaves; concerns an area of the window.
class MessageDown : public virtual MessageInterface
{
public:
    explicit MessageDown(const Rect& area = {})
        : area(area)
    {
    }

    Rect area;
};

// Sent from a control towards the window.
class MessageUp : public virtual MessageInterface
{
};

// Family markers.
class MouseMessage : public virtual MessageInterface
{
};
class GraphicMessage : public virtual MessageInterface
{
};
class KeyboardMessage : public virtual MessageInterface
{
};
class TimerMessage : public virtual MessageInterface
{
};

// The whole-area rectangle of messages that concern a whole subtree.
constexpr Rect whole_area{-32000, -32000, 32000, 32000};

// A subtree is shown or hidden; only shown controls draw and ask for repaints.
class ShowObject : public MessageDown
{
public:
    explicit ShowObject(bool shown, const Rect& area = whole_area)
        : MessageDown(area)
        , shown(shown)
    {
    }

    bool shown;
};

// The window is about to close: the last moment to let go of what it lends (timers, capture).
class Disconnecting : public MessageDown
{
public:
    Disconnecting()
        : MessageDown(whole_area)
    {
    }
};

} // namespace ravik
