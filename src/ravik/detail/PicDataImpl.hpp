#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "ravik/PicDataInterface.hpp"

// The drawing code shared by the four picture decoders. Each decoder is one of the two templates
// below over a pixel source that knows where a pixel's colour (and alpha) is in the resource.
namespace ravik::detail
{

inline Pixel load_pixel(const std::uint8_t* p)
{
    Pixel v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// Kind 0, 8 bits: one palette index a pixel.
struct Palette8Source
{
    const std::uint8_t* pixels;
    const std::uint8_t* palette;

    Pixel colour(std::ptrdiff_t i) const
    {
        return load_pixel(palette + 4 * std::size_t{pixels[i]});
    }
    void copy_row(Pixel* dst, std::ptrdiff_t i, int n) const
    {
        for (int k = 0; k < n; ++k)
        {
            dst[k] = colour(i + k);
        }
    }
};

// Kind 0, 24 bits: blue, green, red and a fourth byte, as the buffer holds them.
struct Direct24Source
{
    const std::uint8_t* pixels;

    Pixel colour(std::ptrdiff_t i) const { return load_pixel(pixels + 4 * i); }
    void copy_row(Pixel* dst, std::ptrdiff_t i, int n) const
    {
        std::memcpy(dst, pixels + 4 * i, 4 * static_cast<std::size_t>(n));
    }
};

// Kind 1, 8 bits: palette index, alpha.
struct AlphaPalette8Source
{
    const std::uint8_t* pixels;
    const std::uint8_t* palette;
    // Partial alpha blends as c + ((p - c) a >> 8).
    static constexpr bool weighted_blend = false;

    Pixel colour(std::ptrdiff_t i) const
    {
        return load_pixel(palette + 4 * std::size_t{pixels[2 * i]});
    }
    int alpha(std::ptrdiff_t i) const { return pixels[2 * i + 1]; }
};

// Kind 1, 24 bits: blue, green, red, alpha.
struct Alpha24Source
{
    const std::uint8_t* pixels;
    // Partial alpha blends as (p a + c (255 - a)) >> 8.
    static constexpr bool weighted_blend = true;

    Pixel colour(std::ptrdiff_t i) const { return load_pixel(pixels + 4 * i); }
    int alpha(std::ptrdiff_t i) const { return pixels[4 * i + 3]; }
};

// The rows of picture and buffer pixels that an area draw touches.
struct Span2d
{
    std::ptrdiff_t src = 0;
    std::ptrdiff_t dst = 0;
    int width = 0;
    int height = 0;
    std::ptrdiff_t src_stride = 0;
    std::ptrdiff_t dst_stride = 0;
};

// False when nothing is to be drawn.
bool clip_area(const Rect& area, const Rect& crop, int pic_width, int pic_height,
               const RenderingBufferInterface& buffer, Span2d& out);

// The area and crop that draw with the buffer's top-left at whole picture pixel (x, y), limited
// to clip; false when nothing is to be drawn.
bool place_at(long long x, long long y, const Rect& clip, const RenderingBufferInterface& buffer,
              const Rect& crop, Rect& area, Rect& limited_crop);

// Rounds a float position to whole pixels and places it as place_at does.
bool place_rounded(double x, double y, const Rect& clip, const RenderingBufferInterface& buffer,
                   const Rect& crop, Rect& area, Rect& limited_crop);

// What both kinds of decoder do the same way: whole-picture operations on the source, and the
// whole-pixel placements that end in an area draw.
template <class Source>
class SourcePicData : public PicDataInterface
{
public:
    SourcePicData(int width, int height, const Source& source)
        : PicDataInterface(width, height)
        , source_(source)
    {
    }

    int mix_into(std::span<Pixel> destination, const PicDataInterface& other,
                 float factor) const override;
    int accumulate_into(std::span<std::int32_t> sums) const override;
    int copy_into(std::span<Pixel> destination) const override;
    int draw_add_at(double x, double y, const Rect& clip, RenderingBufferInterface& buffer,
                    const Rect& crop) const override
    {
        return draw_placed(&PicDataInterface::draw_add, x, y, clip, buffer, crop);
    }
    int draw_multiply_at(double x, double y, const Rect& clip, RenderingBufferInterface& buffer,
                         const Rect& crop) const override
    {
        return draw_placed(&PicDataInterface::draw_multiply, x, y, clip, buffer, crop);
    }

    const Source& get_source() const { return source_; }

protected:
    using AreaDraw = int (PicDataInterface::*)(const Rect&, RenderingBufferInterface&,
                                               const Rect&) const;

    // Rounds (x, y) to whole pixels and draws the placed area with the given area draw.
    int draw_placed(AreaDraw area_draw, double x, double y, const Rect& clip,
                    RenderingBufferInterface& buffer, const Rect& crop) const;

    Source source_;
};

template <class Source>
class OpaquePicData : public SourcePicData<Source>
{
public:
    using SourcePicData<Source>::SourcePicData;
    using PicDataInterface::get_height;
    using PicDataInterface::get_width;

    int draw(const Rect& area, RenderingBufferInterface& buffer, const Rect& crop) const override;
    int draw_multiply(const Rect& area, RenderingBufferInterface& buffer,
                      const Rect& crop) const override;
    int draw_add(const Rect& area, RenderingBufferInterface& buffer,
                 const Rect& crop) const override;
    int draw_rotated(double, double, const Rect&, double, RenderingBufferInterface&,
                     const Rect&) const override
    {
        return 0;
    }
    int draw_rotated_faded(double, double, const Rect&, double, RenderingBufferInterface&,
                           const Rect&, float) const override
    {
        return 0;
    }
    int draw_at(double x, double y, const Rect& clip, RenderingBufferInterface& buffer,
                const Rect& crop) const override
    {
        return this->draw_placed(&PicDataInterface::draw, x, y, clip, buffer, crop);
    }
    int draw_at_faded(double x, double y, const Rect& clip, RenderingBufferInterface& buffer,
                      const Rect& crop, float) const override
    {
        return draw_at(x, y, clip, buffer, crop);
    }

private:
    using SourcePicData<Source>::source_;
};

template <class Source>
class AlphaPicData : public SourcePicData<Source>
{
public:
    using SourcePicData<Source>::SourcePicData;
    using PicDataInterface::get_height;
    using PicDataInterface::get_width;

    int draw(const Rect& area, RenderingBufferInterface& buffer, const Rect& crop) const override;
    int draw_multiply(const Rect& area, RenderingBufferInterface& buffer,
                      const Rect& crop) const override;
    int draw_add(const Rect& area, RenderingBufferInterface& buffer,
                 const Rect& crop) const override;
    int draw_rotated(double x, double y, const Rect& clip, double angle,
                     RenderingBufferInterface& buffer, const Rect& crop) const override
    {
        return draw_rotated_faded(x, y, clip, angle, buffer, crop, 1.0f);
    }
    int draw_rotated_faded(double x, double y, const Rect& clip, double angle,
                           RenderingBufferInterface& buffer, const Rect& crop,
                           float opacity) const override;
    int draw_at(double x, double y, const Rect& clip, RenderingBufferInterface& buffer,
                const Rect& crop) const override
    {
        return draw_at_faded(x, y, clip, buffer, crop, 1.0f);
    }
    int draw_at_faded(double x, double y, const Rect& clip, RenderingBufferInterface& buffer,
                      const Rect& crop, float opacity) const override;

private:
    // The buffer's colour combined with the picture's by op, then blended in by the alpha.
    template <class Op>
    int draw_combined(const Rect& area, RenderingBufferInterface& buffer, const Rect& crop,
                      Op op) const;

    using SourcePicData<Source>::source_;
};

extern template class SourcePicData<Palette8Source>;
extern template class SourcePicData<Direct24Source>;
extern template class SourcePicData<AlphaPalette8Source>;
extern template class SourcePicData<Alpha24Source>;
extern template class OpaquePicData<Palette8Source>;
extern template class OpaquePicData<Direct24Source>;
extern template class AlphaPicData<AlphaPalette8Source>;
extern template class AlphaPicData<Alpha24Source>;

} // namespace ravik::detail
