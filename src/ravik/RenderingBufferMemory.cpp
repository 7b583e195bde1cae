#include "ravik/RenderingBufferMemory.hpp"

#include <algorithm>
#include <cstddef>

namespace ravik
{

RenderingBufferMemory::RenderingBufferMemory(int width, int height, Pixel fill)
    : RenderingBufferInterface(width, height)
    , pixels_(static_cast<std::size_t>(get_width()) * static_cast<std::size_t>(get_height()), fill)
{
}

Pixel* RenderingBufferMemory::get_pixels()
{
    return pixels_.empty() ? nullptr : pixels_.data();
}

const Pixel* RenderingBufferMemory::get_pixels() const
{
    return pixels_.empty() ? nullptr : pixels_.data();
}

void RenderingBufferMemory::blit(const Point& dest, const Point& size)
{
    if (target_ == nullptr || target_ == this)
    {
        return;
    }
    // The source rectangle is (0, 0, size) limited to this buffer; it lands at dest.
    const long long src_w = std::min<long long>(size.x, get_width());
    const long long src_h = std::min<long long>(size.y, get_height());
    const long long x1 = std::max<long long>(dest.x, 0);
    const long long y1 = std::max<long long>(dest.y, 0);
    const long long x2 =
        std::min<long long>(static_cast<long long>(dest.x) + src_w, target_->get_width());
    const long long y2 =
        std::min<long long>(static_cast<long long>(dest.y) + src_h, target_->get_height());
    if (x2 <= x1 || y2 <= y1)
    {
        return;
    }
    for (long long y = y1; y < y2; ++y)
    {
        const auto src_row = static_cast<std::size_t>((y - dest.y) * get_width() + (x1 - dest.x));
        const auto dst_row = static_cast<std::size_t>(y * target_->get_width() + x1);
        std::copy_n(pixels_.begin() + static_cast<std::ptrdiff_t>(src_row), x2 - x1,
                    target_->pixels_.begin() + static_cast<std::ptrdiff_t>(dst_row));
    }
}

Pixel RenderingBufferMemory::get_pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= get_width() || y >= get_height())
    {
        return 0;
    }
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(get_width()) +
                   static_cast<std::size_t>(x)];
}

void RenderingBufferMemory::set_pixel(int x, int y, Pixel value)
{
    if (x < 0 || y < 0 || x >= get_width() || y >= get_height())
    {
        return;
    }
    pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(get_width()) +
            static_cast<std::size_t>(x)] = value;
}

void RenderingBufferMemory::fill(Pixel value)
{
    std::fill(pixels_.begin(), pixels_.end(), value);
}

} // namespace ravik
