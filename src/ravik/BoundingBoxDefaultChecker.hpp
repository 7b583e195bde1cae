#pragma once

#include "ravik/Geometry.hpp"

namespace ravik
{

class BoundingBoxDefaultChecker;

// A hit test of any shape that replaces the rectangle of a BoundingBoxDefaultChecker.
class BoundingBoxCustomChecker
{
public:
    virtual ~BoundingBoxCustomChecker() = default;

    virtual bool is_inside(const Point& p) const = 0;

    BoundingBoxDefaultChecker* get_owner() const { return owner_; }

private:
    friend class BoundingBoxDefaultChecker;
    BoundingBoxDefaultChecker* owner_ = nullptr;
};

// Hit testing against a rectangle, unless a custom checker is set.
class BoundingBoxDefaultChecker
{
public:
    BoundingBoxDefaultChecker() = default;
    explicit BoundingBoxDefaultChecker(const Rect& box)
        : box_(box)
    {
    }
    virtual ~BoundingBoxDefaultChecker() = default;

    bool is_inside_box(const Point& p) const;

    const Rect& get_bounding_box() const { return box_; }
    void set_bounding_box(const Rect& box) { box_ = box; }
    // Not owned; null returns to the rectangle.
    void set_custom_checker(BoundingBoxCustomChecker* checker);

private:
    Rect box_;
    BoundingBoxCustomChecker* custom_ = nullptr;
};

} // namespace ravik
