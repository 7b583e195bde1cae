#pragma once

#include "ravik/Geometry.hpp"

namespace ravik
{

// Tells a double click from two presses where the system reports only presses, by the rules of
// the Windows defaults: the same button again within 500 ms of the previous press and at most 2
// pixels away from it on each axis. The press that completes a double click ends the sequence,
// so a third press is an ordinary one again.
class DoubleClickDetector
{
public:
    static constexpr double max_interval_s = 0.5;
    static constexpr int max_distance = 2;

    // A press of button (a mouse:: bit) at pos at time now_s: the button when the press makes a
    // double click, else 0.
    int press(int button, const Point& pos, double now_s);
    void reset() { button_ = 0; }

private:
    int button_ = 0;
    Point pos_;
    double time_s_ = 0.0;
};

} // namespace ravik
