#pragma once

#include <climits>

namespace ravik
{

// Pixels, x to the right, y downwards.
struct Point
{
    int x = 0;
    int y = 0;

    friend bool operator==(const Point&, const Point&) = default;
    Point operator+(const Point& o) const { return {x + o.x, y + o.y}; }
    Point operator-(const Point& o) const { return {x - o.x, y - o.y}; }
};

// x2 and y2 are exclusive.
struct Rect
{
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;

    friend bool operator==(const Rect&, const Rect&) = default;
    Rect moved(const Point& by) const { return {x1 + by.x, y1 + by.y, x2 + by.x, y2 + by.y}; }
    bool contains(const Point& p) const { return p.x >= x1 && p.x < x2 && p.y >= y1 && p.y < y2; }
};

// A position that nobody has set yet.
constexpr Point not_placed{INT_MIN, INT_MIN};

} // namespace ravik
