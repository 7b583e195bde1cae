#pragma once

#include <cstdint>
#include <string>

namespace ravik
{

// One line of text to draw with a font: the bytes (byte b draws glyph b), the box it sits in, how
// it sits there and its colour (0x00RRGGBB; multicolour fonts keep their own colours).
struct Text
{
    enum Align
    {
        left = 0,
        centre = 1,
        right = 2,
    };

    std::string text;
    int width = 0;
    int height = 0;
    int align = left;
    std::uint32_t colour = 0;
};

} // namespace ravik
