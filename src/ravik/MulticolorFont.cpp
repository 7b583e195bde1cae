#include "ravik/MulticolorFont.hpp"

#include <cstring>

#include "ravik/detail/GlyphBlit.hpp"

namespace ravik
{

MulticolorFont::MulticolorFont(int strip_width, int strip_height, const std::uint8_t* pixels,
                               const std::uint8_t* palette)
    : FontInterface(strip_width, strip_height,
                    pixels + 2 * static_cast<std::ptrdiff_t>(strip_height - 1) * strip_width, 2)
    , pixels_(pixels)
    , palette_(palette)
{
}

void MulticolorFont::draw_glyph(const Rect& src, const Point& dst, RenderingBufferInterface& buffer,
                                std::uint32_t /*colour*/) const
{
    detail::for_each_glyph_pixel(
        src, dst, get_strip_width(), get_strip_height(), buffer,
        [this](Pixel& d, std::ptrdiff_t i)
        {
            const int v = 255 - pixels_[2 * i + 1];
            if (v == 0)
            {
                return;
            }
            Pixel p;
            std::memcpy(&p, palette_ + 4 * static_cast<std::ptrdiff_t>(pixels_[2 * i]), sizeof p);
            auto mix = [&](int shift)
            {
                const int c = static_cast<int>((d >> shift) & 0xFFu);
                const int t = static_cast<int>((p >> shift) & 0xFFu);
                return static_cast<Pixel>(c + (((t - c) * v) >> 8)) << shift;
            };
            d = (d & 0xFF000000u) | mix(0) | mix(8) | mix(16);
        });
}

} // namespace ravik
