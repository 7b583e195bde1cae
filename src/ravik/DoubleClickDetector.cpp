#include "ravik/DoubleClickDetector.hpp"

#include <cmath>
#include <cstdlib>

namespace ravik
{

int DoubleClickDetector::press(int button, const Point& pos, double now_s)
{
    const bool twice =
        button != 0 && button == button_ &&
        std::llround((now_s - time_s_) * 1000.0) <= std::llround(max_interval_s * 1000.0) &&
        std::abs(pos.x - pos_.x) <= max_distance && std::abs(pos.y - pos_.y) <= max_distance;
    button_ = twice ? 0 : button;
    pos_ = pos;
    time_s_ = now_s;
    return twice ? button : 0;
}

} // namespace ravik
