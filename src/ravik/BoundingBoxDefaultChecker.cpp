#include "ravik/BoundingBoxDefaultChecker.hpp"

namespace ravik
{

bool BoundingBoxDefaultChecker::is_inside_box(const Point& p) const
{
    if (custom_ != nullptr)
    {
        return custom_->is_inside(p);
    }
    return box_.x1 <= p.x && p.x < box_.x2 && box_.y1 <= p.y && p.y < box_.y2;
}

void BoundingBoxDefaultChecker::set_custom_checker(BoundingBoxCustomChecker* checker)
{
    custom_ = checker;
    if (checker != nullptr)
    {
        checker->owner_ = this;
    }
}

} // namespace ravik
