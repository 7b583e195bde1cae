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
class GraphicMessage : public virtual MessageInterface
{
};

// A part of the window that must be painted again.
class Invalidate : public MessageUp, public GraphicMessage
{
public:
    explicit Invalidate(const Rect& rect = {})
        : rect(rect)
    {
    }

    Rect rect;
};

// The whole-area rectangle of messages that concern a whole subtree.
constexpr Rect whole_area{-32000, -32000, 32000, 32000};

} // namespace ravik
