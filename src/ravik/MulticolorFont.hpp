#pragma once

#include <cstdint>

#include "ravik/FontInterface.hpp"

namespace ravik
{

// A font whose pixels carry their own colours: pairs of a palette index and a transparency (0
// opaque, 255 invisible). The colour a text asks for is not used.
class MulticolorFont final : public FontInterface
{
public:
    // pixels: strip_width x strip_height pairs, the last row marking the glyphs by palette index;
    // palette: 4-byte entries covering every index used. Neither is owned.
    MulticolorFont(int strip_width, int strip_height, const std::uint8_t* pixels,
                   const std::uint8_t* palette);

    void draw_glyph(const Rect& src, const Point& dst, RenderingBufferInterface& buffer,
                    std::uint32_t colour) const override;

private:
    const std::uint8_t* pixels_;
    const std::uint8_t* palette_;
};

} // namespace ravik
