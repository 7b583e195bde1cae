#pragma once

#include "ravik/MessageInterface.hpp"

namespace ravik
{

class RenderingBufferInterface;

// A paint of area begins; the tiles follow, then RedrawEnd.
class RedrawBegin : public GraphicMessage, public MessageDown
{
public:
    explicit RedrawBegin(const Rect& area)
        : MessageDown(area)
    {
    }
};

// Draw the tile area (window coordinates) into buffer, whose top-left pixel is the tile's.
class Redraw : public GraphicMessage, public MessageDown
{
public:
    Redraw(const Rect& area, RenderingBufferInterface& buffer)
        : MessageDown(area)
        , buffer(buffer)
    {
    }

    RenderingBufferInterface& buffer;
};

class RedrawEnd : public GraphicMessage, public MessageDown
{
public:
    explicit RedrawEnd(const Rect& area)
        : MessageDown(area)
    {
    }
};

// A part of the window that must be painted again.
class Invalidate : public MessageUp, public GraphicMessage
{
public:
    Invalidate() = default;
    explicit Invalidate(const Rect& rect)
        : rect(rect)
    {
    }
    Invalidate(const Point& top_left, const Point& bottom_right)
        : rect{top_left.x, top_left.y, bottom_right.x, bottom_right.y}
    {
    }
    Invalidate(int x1, int y1, int x2, int y2)
        : rect{x1, y1, x2, y2}
    {
    }

    Rect rect;
};

} // namespace ravik
