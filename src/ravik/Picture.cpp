#include "ravik/Picture.hpp"

#include <algorithm>
#include <cmath>

#include "ravik/detail/PicDataImpl.hpp"

namespace ravik
{

namespace
{

bool is_whole(double v)
{
    const double n = std::round(v);
    return std::abs(v - n) <= 1e-9 * std::max(std::abs(n), 1.0);
}

} // namespace

void Picture::set_pic_data(const PicDataInterface* data)
{
    data_ = data;
    const int w = data != nullptr ? data->get_width() : 0;
    const int h = data != nullptr ? data->get_height() : 0;
    set_bounding_box({0, 0, w, h});
    crop_ = {0, 0, w, h};
}

void Picture::set_origin(const Point& origin)
{
    const int w = data_ != nullptr ? data_->get_width() : 0;
    const int h = data_ != nullptr ? data_->get_height() : 0;
    set_bounding_box({-origin.x, -origin.y, w - origin.x, h - origin.y});
}

Point Picture::get_origin() const
{
    return {-get_bounding_box().x1, -get_bounding_box().y1};
}

void Picture::set_crop(const Rect& crop)
{
    const int w = data_ != nullptr ? data_->get_width() : 0;
    const int h = data_ != nullptr ? data_->get_height() : 0;
    crop_ = {std::max(crop.x1, 0), std::max(crop.y1, 0), std::min(crop.x2, w),
             std::min(crop.y2, h)};
    if (crop_.x2 < crop_.x1 || crop_.y2 < crop_.y1)
    {
        crop_ = {};
    }
}

bool Picture::is_inside(const Point& p) const
{
    if (!is_inside_box(p))
    {
        return false;
    }
    const Rect& box = get_bounding_box();
    const Point q{p.x - box.x1, p.y - box.y1};
    return crop_.x1 <= q.x && q.x < crop_.x2 && crop_.y1 <= q.y && q.y < crop_.y2;
}

int Picture::draw_area(Op op, const Rect& area, RenderingBufferInterface& buffer) const
{
    if (data_ == nullptr)
    {
        return 0;
    }
    const Rect& box = get_bounding_box();
    const Rect in_pic = area.moved({-box.x1, -box.y1});
    switch (op)
    {
    case Op::copy:
        return data_->draw(in_pic, buffer, crop_);
    case Op::multiply:
        return data_->draw_multiply(in_pic, buffer, crop_);
    case Op::add:
        return data_->draw_add(in_pic, buffer, crop_);
    }
    return 0;
}

int Picture::draw(const Rect& area, RenderingBufferInterface& buffer) const
{
    return draw_area(Op::copy, area, buffer);
}

int Picture::draw_multiply(const Rect& area, RenderingBufferInterface& buffer) const
{
    return draw_area(Op::multiply, area, buffer);
}

int Picture::draw_add(const Rect& area, RenderingBufferInterface& buffer) const
{
    return draw_area(Op::add, area, buffer);
}

int Picture::draw_float(Op op, double x, double y, const Rect& clip,
                        RenderingBufferInterface& buffer) const
{
    if (data_ == nullptr)
    {
        return 0;
    }
    const Rect& box = get_bounding_box();
    x -= box.x1;
    y -= box.y1;
    if (is_whole(x) && is_whole(y))
    {
        Rect area;
        Rect crop;
        if (!detail::place_rounded(x, y, clip, buffer, crop_, area, crop))
        {
            return 0;
        }
        switch (op)
        {
        case Op::copy:
            return data_->draw(area, buffer, crop);
        case Op::multiply:
            return data_->draw_multiply(area, buffer, crop);
        case Op::add:
            return data_->draw_add(area, buffer, crop);
        }
        return 0;
    }
    switch (op)
    {
    case Op::copy:
        return data_->draw_at(x, y, clip, buffer, crop_);
    case Op::multiply:
        return data_->draw_multiply_at(x, y, clip, buffer, crop_);
    case Op::add:
        return data_->draw_add_at(x, y, clip, buffer, crop_);
    }
    return 0;
}

int Picture::draw_at(double x, double y, const Rect& clip, RenderingBufferInterface& buffer) const
{
    return draw_float(Op::copy, x, y, clip, buffer);
}

int Picture::draw_add_at(double x, double y, const Rect& clip,
                         RenderingBufferInterface& buffer) const
{
    return draw_float(Op::add, x, y, clip, buffer);
}

int Picture::draw_multiply_at(double x, double y, const Rect& clip,
                              RenderingBufferInterface& buffer) const
{
    return draw_float(Op::multiply, x, y, clip, buffer);
}

int Picture::draw_at_faded(double x, double y, const Rect& clip, RenderingBufferInterface& buffer,
                           float opacity) const
{
    if (data_ == nullptr)
    {
        return 0;
    }
    const Rect& box = get_bounding_box();
    return data_->draw_at_faded(x - box.x1, y - box.y1, clip, buffer, crop_, opacity);
}

int Picture::draw_rotated(double x, double y, const Rect& clip, double angle,
                          RenderingBufferInterface& buffer) const
{
    if (std::abs(angle) < 1e-9)
    {
        return draw_at(x, y, clip, buffer);
    }
    if (data_ == nullptr)
    {
        return 0;
    }
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const Rect& box = get_bounding_box();
    return data_->draw_rotated(x * c - y * s - box.x1, x * s + y * c - box.y1, clip, angle, buffer,
                               crop_);
}

int Picture::draw_rotated_faded(double x, double y, const Rect& clip, double angle,
                                RenderingBufferInterface& buffer, float opacity) const
{
    if (std::abs(angle) < 1e-9)
    {
        return draw_at_faded(x, y, clip, buffer, opacity);
    }
    if (data_ == nullptr)
    {
        return 0;
    }
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const Rect& box = get_bounding_box();
    return data_->draw_rotated_faded(x * c - y * s - box.x1, x * s + y * c - box.y1, clip, angle,
                                     buffer, crop_, opacity);
}

} // namespace ravik
