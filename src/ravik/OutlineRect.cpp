#include "ravik/OutlineRect.hpp"

#include <algorithm>
#include <cstddef>

namespace ravik
{

int OutlineRect::draw(RenderingBufferInterface& buffer, const Rect& rect) const
{
    Pixel* pixels = buffer.get_pixels();
    if (pixels == nullptr || rect.x2 <= rect.x1 || rect.y2 <= rect.y1)
    {
        return 0;
    }
    const int bw = buffer.get_width();
    const int bh = buffer.get_height();
    auto put = [&](long long x, long long y)
    {
        if (x >= 0 && x < bw && y >= 0 && y < bh)
        {
            pixels[static_cast<std::ptrdiff_t>(y * bw + x)] = pixel_;
        }
    };
    // Rows and columns are walked only where they meet the buffer.
    const long long x1 = std::max(rect.x1, 0);
    const long long x2 = std::min(rect.x2, bw);
    const long long y1 = std::max(rect.y1, 0);
    const long long y2 = std::min(rect.y2, bh);
    for (long long x = x1; x < x2; ++x)
    {
        put(x, rect.y1);
        put(x, static_cast<long long>(rect.y2) - 1);
    }
    for (long long y = y1; y < y2; ++y)
    {
        put(rect.x1, y);
        put(static_cast<long long>(rect.x2) - 1, y);
    }
    return 0;
}

} // namespace ravik
