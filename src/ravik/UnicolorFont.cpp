#include "ravik/UnicolorFont.hpp"

#include "ravik/detail/GlyphBlit.hpp"

namespace ravik
{

UnicolorFont::UnicolorFont(int strip_width, int strip_height, const std::uint8_t* coverage)
    : FontInterface(strip_width, strip_height,
                    coverage + static_cast<std::ptrdiff_t>(strip_height - 1) * strip_width, 1)
    , coverage_(coverage)
{
}

void UnicolorFont::draw_glyph(const Rect& src, const Point& dst, RenderingBufferInterface& buffer,
                              std::uint32_t colour) const
{
    const int tb = static_cast<int>(colour & 0xFFu);
    const int tg = static_cast<int>((colour >> 8) & 0xFFu);
    const int tr = static_cast<int>((colour >> 16) & 0xFFu);
    detail::for_each_glyph_pixel(src, dst, get_strip_width(), get_strip_height(), buffer,
                                 [this, tb, tg, tr](Pixel& d, std::ptrdiff_t i)
                                 {
                                     const int v = coverage_[i];
                                     if (v == 0)
                                     {
                                         return;
                                     }
                                     const int cb = static_cast<int>(d & 0xFFu);
                                     const int cg = static_cast<int>((d >> 8) & 0xFFu);
                                     const int cr = static_cast<int>((d >> 16) & 0xFFu);
                                     d = (d & 0xFF000000u) |
                                         static_cast<Pixel>(cb + (((tb - cb) * v) >> 8)) |
                                         (static_cast<Pixel>(cg + (((tg - cg) * v) >> 8)) << 8) |
                                         (static_cast<Pixel>(cr + (((tr - cr) * v) >> 8)) << 16);
                                 });
}

} // namespace ravik
