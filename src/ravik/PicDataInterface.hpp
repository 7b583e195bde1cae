#pragma once

#include <cstdint>
#include <span>

#include "ravik/Geometry.hpp"
#include "ravik/RenderingBufferInterface.hpp"

namespace ravik
{

// The pixels of one picture resource, drawn straight from the resource bytes (nothing is
// converted or copied at load time). Editor thread only; every operation returns 0 unless it
// says otherwise.
//
// Coordinates. An area is the rectangle of picture coordinates that the buffer covers: picture
// pixel (px, py) lands on buffer pixel (px - area.x1, py - area.y1). A float position (x, y) is
// the same thing for the buffer's top-left pixel alone, so picture pixel (px, py) lands at
// (px - x, py - y); a clip is a rectangle of buffer pixels. A crop is the part of the picture, in
// picture pixels, that may be drawn. Everything is also limited to the picture and the buffer.
class PicDataInterface
{
public:
    PicDataInterface(int width, int height)
        : width_(width > 0 ? width : 0)
        , height_(height > 0 ? height : 0)
    {
    }
    virtual ~PicDataInterface() = default;
    PicDataInterface(const PicDataInterface&) = delete;
    PicDataInterface& operator=(const PicDataInterface&) = delete;

    int get_width() const { return width_; }
    int get_height() const { return height_; }

    // Copies, or blends by alpha.
    virtual int draw(const Rect& area, RenderingBufferInterface& buffer,
                     const Rect& crop) const = 0;
    // Each of blue, green and red becomes picture x buffer >> 8.
    virtual int draw_multiply(const Rect& area, RenderingBufferInterface& buffer,
                              const Rect& crop) const = 0;
    // Each of blue, green and red becomes min(picture + buffer, 255).
    virtual int draw_add(const Rect& area, RenderingBufferInterface& buffer,
                         const Rect& crop) const = 0;
    // Turned by angle radians around the buffer's pixel (0, 0), which shows picture point (x, y):
    // buffer pixel (bx, by) shows (bx cos a - by sin a + x, bx sin a + by cos a + y). Only
    // pictures with alpha draw anything.
    virtual int draw_rotated(double x, double y, const Rect& clip, double angle,
                             RenderingBufferInterface& buffer, const Rect& crop) const = 0;
    virtual int draw_rotated_faded(double x, double y, const Rect& clip, double angle,
                                   RenderingBufferInterface& buffer, const Rect& crop,
                                   float opacity) const = 0;
    // destination (width x height pixels) gets blue, green and red of this picture crossfaded
    // towards other by factor (0 this, 1 other); its fourth bytes are kept. -1, and nothing
    // written, when other is not the same kind and size or destination is too small.
    virtual int mix_into(std::span<Pixel> destination, const PicDataInterface& other,
                         float factor) const = 0;
    // Adds blue, green and red of every pixel to sums, three a pixel in that order. -1 when sums
    // is too small.
    virtual int accumulate_into(std::span<std::int32_t> sums) const = 0;
    // Writes blue, green and red of every pixel, keeping the fourth bytes. -1 when destination is
    // too small.
    virtual int copy_into(std::span<Pixel> destination) const = 0;
    // At a position that need not be whole pixels: pictures with alpha blend bilinearly, opaque
    // ones round it.
    virtual int draw_at(double x, double y, const Rect& clip, RenderingBufferInterface& buffer,
                        const Rect& crop) const = 0;
    virtual int draw_add_at(double x, double y, const Rect& clip, RenderingBufferInterface& buffer,
                            const Rect& crop) const = 0;
    virtual int draw_multiply_at(double x, double y, const Rect& clip,
                                 RenderingBufferInterface& buffer, const Rect& crop) const = 0;
    // As draw_at, pictures with alpha weighted by opacity (0 to 1).
    virtual int draw_at_faded(double x, double y, const Rect& clip,
                              RenderingBufferInterface& buffer, const Rect& crop,
                              float opacity) const = 0;

private:
    int width_;
    int height_;
};

} // namespace ravik
