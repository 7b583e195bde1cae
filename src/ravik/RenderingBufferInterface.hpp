#pragma once

#include <bit>
#include <cstdint>

#include "ravik/Geometry.hpp"

namespace ravik
{

// One pixel of a rendering buffer: bytes blue, green, red and a fourth byte in memory order, which
// on the little-endian targets reads as 0xXXRRGGBB.
using Pixel = std::uint32_t;
static_assert(std::endian::native == std::endian::little, "pixels are read as 0xXXRRGGBB");

// The drawing target of the toolkit: a top-down array of width x height pixels whose rows follow
// each other without gaps, so a row's stride is the width. Tiles of the window are drawn into it
// and then copied to the window with blit. Editor thread only.
class RenderingBufferInterface
{
public:
    RenderingBufferInterface(int width, int height)
        : width_(width > 0 ? width : 0)
        , height_(height > 0 ? height : 0)
    {
    }
    virtual ~RenderingBufferInterface() = default;
    RenderingBufferInterface(const RenderingBufferInterface&) = delete;
    RenderingBufferInterface& operator=(const RenderingBufferInterface&) = delete;

    int get_width() const { return width_; }
    int get_height() const { return height_; }

    // The first pixel of the top row; null while the buffer has no storage (nothing is drawn).
    virtual Pixel* get_pixels() = 0;
    // Copies the top-left size.x by size.y pixels to the window, their top-left at dest (window
    // coordinates).
    virtual void blit(const Point& dest, const Point& size) = 0;

private:
    int width_;
    int height_;
};

} // namespace ravik
