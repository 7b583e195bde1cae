#pragma once

#include <cstdint>

#include "ravik/FontInterface.hpp"

namespace ravik
{

// A font of coverage bytes (0 to 255, one a pixel) drawn in the colour that the text asks for.
class UnicolorFont final : public FontInterface
{
public:
    // coverage: strip_width x strip_height bytes, the last row marking the glyphs; not owned.
    UnicolorFont(int strip_width, int strip_height, const std::uint8_t* coverage);

    void draw_glyph(const Rect& src, const Point& dst, RenderingBufferInterface& buffer,
                    std::uint32_t colour) const override;

private:
    const std::uint8_t* coverage_;
};

} // namespace ravik
