#pragma once

#include <algorithm>
#include <cstddef>

#include "ravik/Geometry.hpp"
#include "ravik/RenderingBufferInterface.hpp"

namespace ravik::detail
{

// Calls fn (buffer pixel, strip pixel index) for the part src of a strip (strip_width x
// strip_height) drawn with its top-left at dst, cut to the strip and the buffer.
template <class Fn>
void for_each_glyph_pixel(const Rect& src, const Point& dst, int strip_width, int strip_height,
                          RenderingBufferInterface& buffer, Fn fn)
{
    Pixel* pixels = buffer.get_pixels();
    if (pixels == nullptr)
    {
        return;
    }
    // Source and destination move together; cut where either leaves its bounds.
    const long long sx1 =
        std::max({static_cast<long long>(src.x1), 0ll, static_cast<long long>(src.x1) - dst.x});
    const long long sy1 =
        std::max({static_cast<long long>(src.y1), 0ll, static_cast<long long>(src.y1) - dst.y});
    const long long sx2 =
        std::min({static_cast<long long>(src.x2), static_cast<long long>(strip_width),
                  static_cast<long long>(src.x1) - dst.x + buffer.get_width()});
    const long long sy2 =
        std::min({static_cast<long long>(src.y2), static_cast<long long>(strip_height),
                  static_cast<long long>(src.y1) - dst.y + buffer.get_height()});
    if (sx2 <= sx1 || sy2 <= sy1)
    {
        return;
    }
    const long long dx = static_cast<long long>(dst.x) - src.x1;
    const long long dy = static_cast<long long>(dst.y) - src.y1;
    for (long long sy = sy1; sy < sy2; ++sy)
    {
        Pixel* row = pixels + static_cast<std::ptrdiff_t>((sy + dy) * buffer.get_width() + dx);
        const auto strip_row = static_cast<std::ptrdiff_t>(sy * strip_width);
        for (long long sx = sx1; sx < sx2; ++sx)
        {
            fn(row[sx], strip_row + static_cast<std::ptrdiff_t>(sx));
        }
    }
}

} // namespace ravik::detail
