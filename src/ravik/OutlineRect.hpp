#pragma once

#include "ravik/Geometry.hpp"
#include "ravik/RenderingBufferInterface.hpp"

namespace ravik
{

// A one-pixel frame in a fixed pixel value (buffer byte order, all four bytes written), used to
// show bounding boxes while laying out an editor.
class OutlineRect
{
public:
    explicit OutlineRect(Pixel pixel = 0)
        : pixel_(pixel)
    {
    }

    void set_pixel(Pixel pixel) { pixel_ = pixel; }
    Pixel get_pixel() const { return pixel_; }

    // rect in buffer pixels; its top and bottom rows and left and right columns, cut to the
    // buffer. An empty rectangle draws nothing. Returns 0.
    int draw(RenderingBufferInterface& buffer, const Rect& rect) const;

private:
    Pixel pixel_;
};

} // namespace ravik
