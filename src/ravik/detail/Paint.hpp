#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ravik/FontInterface.hpp"
#include "ravik/Geometry.hpp"
#include "ravik/RenderingBufferInterface.hpp"

namespace ravik::detail
{

// Sets every pixel of rect (buffer pixels) that lies inside the buffer.
inline void fill_rect(RenderingBufferInterface& buffer, const Rect& rect, Pixel pixel)
{
    Pixel* pixels = buffer.get_pixels();
    const int x1 = std::max(rect.x1, 0);
    const int y1 = std::max(rect.y1, 0);
    const int x2 = std::min(rect.x2, buffer.get_width());
    const int y2 = std::min(rect.y2, buffer.get_height());
    if (pixels == nullptr || x2 <= x1 || y2 <= y1)
    {
        return;
    }
    for (int y = y1; y < y2; ++y)
    {
        Pixel* row = pixels + static_cast<std::ptrdiff_t>(y) * buffer.get_width();
        std::fill(row + x1, row + x2, pixel);
    }
}

// One line of text in colour (0x00RRGGBB), the top-left of its first glyph at at (buffer pixels).
inline void draw_string(const FontInterface& font, RenderingBufferInterface& buffer,
                        std::string_view text, const Point& at, std::uint32_t colour)
{
    const Text line{std::string(text), font.text_width(text), font.get_line_height(), Text::left,
                    colour};
    font.draw_text({-at.x, -at.y, buffer.get_width() - at.x, buffer.get_height() - at.y}, buffer,
                   line);
}

} // namespace ravik::detail
