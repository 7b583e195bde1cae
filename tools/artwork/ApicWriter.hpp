#pragma once

#include <cstdint>
#include <vector>

#include "Canvas.hpp"

namespace artwork
{

// Picture resources as the toolkit reads them: a 36-byte header of little-endian 32-bit fields
// (marker, header size, kind, bits per pixel, width, height, palette entries, pixel offset,
// palette offset), then the palette, then the pixels.
namespace apic
{

// Kind 0, 24 bits: blue, green, red and 255 a pixel.
std::vector<std::uint8_t> opaque(const Canvas& canvas);
// Kind 1: with 8 bits (palette index, alpha) when the visible pixels use at most 256 colours,
// which keeps them exact, and with 24 bits (blue, green, red, alpha) otherwise.
std::vector<std::uint8_t> with_alpha(const Canvas& canvas);
// Kind 2, no bits: a unicolour font of width x height coverage bytes, the last row marking the
// glyphs.
std::vector<std::uint8_t> unicolour_font(int width, int height,
                                         const std::vector<std::uint8_t>& coverage);

} // namespace apic

} // namespace artwork
