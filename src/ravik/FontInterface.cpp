#include "ravik/FontInterface.hpp"

#include <algorithm>
#include <climits>

namespace ravik
{

FontInterface::FontInterface(int strip_width, int strip_height, const std::uint8_t* marker,
                             std::ptrdiff_t step)
    : strip_width_(std::max(strip_width, 0))
    , strip_height_(std::max(strip_height, 1))
{
    for (int x = 0; x < strip_width_;)
    {
        const std::uint8_t value = marker[x * step];
        int end = x + 1;
        while (end < strip_width_ && marker[end * step] == value)
        {
            ++end;
        }
        glyphs_.push_back({end - x, x});
        x = end;
    }
}

int FontInterface::text_width(std::string_view text) const
{
    long long width = 0;
    for (const char c : text)
    {
        const auto b = static_cast<unsigned char>(c);
        if (b < glyphs_.size())
        {
            width += glyphs_[b].width;
        }
    }
    return static_cast<int>(std::min<long long>(width, INT_MAX));
}

int FontInterface::draw_text(const Rect& clip, RenderingBufferInterface& buffer,
                             const Text& text) const
{
    // Nothing leaves the box: a text wider than its box would otherwise leave pixels that the
    // box's repaints never cover.
    const long long left = std::max(clip.x1, 0);
    const long long right = std::min<long long>(
        {clip.x2, text.width, static_cast<long long>(clip.x1) + buffer.get_width()});
    const long long top = std::max(clip.y1, 0);
    const long long bottom =
        std::min<long long>({clip.y2, get_line_height(), text.height,
                             static_cast<long long>(clip.y1) + buffer.get_height()});
    if (right <= left || bottom <= top)
    {
        return 0;
    }
    const long long width = text_width(text.text);
    long long pen = 0;
    if (text.align == Text::centre)
    {
        pen = (text.width - width) / 2;
    }
    else if (text.align == Text::right)
    {
        pen = text.width - width;
    }
    for (const char c : text.text)
    {
        const auto b = static_cast<unsigned char>(c);
        if (b >= glyphs_.size())
        {
            continue;
        }
        const Glyph& g = glyphs_[b];
        const long long x1 = std::max(pen, left);
        const long long x2 = std::min(pen + g.width, right);
        if (x1 < x2)
        {
            const auto src_x = static_cast<int>(g.offset + (x1 - pen));
            draw_glyph({src_x, static_cast<int>(top), static_cast<int>(src_x + (x2 - x1)),
                        static_cast<int>(bottom)},
                       {static_cast<int>(x1 - clip.x1), static_cast<int>(top - clip.y1)}, buffer,
                       text.colour);
        }
        pen += g.width;
        if (pen >= right)
        {
            break;
        }
    }
    return 0;
}

} // namespace ravik
