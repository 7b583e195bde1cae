#include "ravik/detail/PicDataImpl.hpp"

#include <algorithm>
#include <climits>
#include <cmath>
#include <typeinfo>

namespace ravik::detail
{

namespace
{

// Positions further out than this cannot show any pixel of a picture in a buffer: both are far
// smaller. Keeping to it keeps every conversion to an integer defined.
constexpr double position_limit = 1099511627776.0; // 2^40

int channel(Pixel p, int shift)
{
    return static_cast<int>((p >> shift) & 0xFFu);
}

// Blue, green and red from the arguments, the fourth byte from keep.
Pixel with_channels(Pixel keep, int b, int g, int r)
{
    return (keep & 0xFF000000u) | static_cast<Pixel>(b) | (static_cast<Pixel>(g) << 8) |
           (static_cast<Pixel>(r) << 16);
}

// op (buffer channel, picture channel) for blue, green and red; the fourth byte stays.
template <class Op>
Pixel per_channel(Pixel c, Pixel p, Op op)
{
    return with_channels(c, op(channel(c, 0), channel(p, 0)), op(channel(c, 8), channel(p, 8)),
                         op(channel(c, 16), channel(p, 16)));
}

Rect intersect(const Rect& a, const Rect& b)
{
    return {std::max(a.x1, b.x1), std::max(a.y1, b.y1), std::min(a.x2, b.x2), std::min(a.y2, b.y2)};
}

bool is_empty(const Rect& r)
{
    return r.x2 <= r.x1 || r.y2 <= r.y1;
}

int clamp_to_int(long long v)
{
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

float unit(float v)
{
    // NaN counts as 0.
    return v > 0.0f ? std::min(v, 1.0f) : 0.0f;
}

// Calls fn (buffer pixel, picture pixel index) for every pixel that an area draw touches.
template <class Fn>
int for_each_in_area(const PicDataInterface& pic, const Rect& area, const Rect& crop,
                     RenderingBufferInterface& buffer, Fn fn)
{
    Pixel* pixels = buffer.get_pixels();
    Span2d s;
    if (pixels == nullptr || !clip_area(area, crop, pic.get_width(), pic.get_height(), buffer, s))
    {
        return 0;
    }
    Pixel* dst = pixels + s.dst;
    std::ptrdiff_t src = s.src;
    for (int row = 0; row < s.height; ++row)
    {
        for (int col = 0; col < s.width; ++col)
        {
            fn(dst[col], src + col);
        }
        dst += s.dst_stride;
        src += s.src_stride;
    }
    return 0;
}

// Adds up to four neighbouring picture pixels, (sx, sy) and the ones to its right and below,
// each by its alpha times its weight (the weights add up to at most 256), into a buffer pixel.
// Pixels outside r (the visible part of the picture) weigh nothing.
template <class Source>
void blend_four(Pixel& d, const Source& source, const Rect& r, int pic_width, long long sx,
                long long sy, const int (&w)[4])
{
    const int cb = channel(d, 0);
    const int cg = channel(d, 8);
    const int cr = channel(d, 16);
    int sb = 0;
    int sg = 0;
    int sr = 0;
    bool any = false;
    for (int n = 0; n < 4; ++n)
    {
        const long long x = sx + (n & 1);
        const long long y = sy + (n >> 1);
        if (w[n] == 0 || x < r.x1 || x >= r.x2 || y < r.y1 || y >= r.y2)
        {
            continue;
        }
        const std::ptrdiff_t i = static_cast<std::ptrdiff_t>(y * pic_width + x);
        const int aw = source.alpha(i) * w[n];
        if (aw == 0)
        {
            continue;
        }
        const Pixel p = source.colour(i);
        sb += (channel(p, 0) - cb) * aw;
        sg += (channel(p, 8) - cg) * aw;
        sr += (channel(p, 16) - cr) * aw;
        any = true;
    }
    if (any)
    {
        d = with_channels(d, cb + (sb >> 16), cg + (sg >> 16), cr + (sr >> 16));
    }
}

// Bilinear weights adding up to k for fractions fx, fy (0 to 1, scale 1): top-left, top-right,
// bottom-left, bottom-right. Rounding each product on its own can leave the top-left one at -1
// for small k; the bottom-right one is kept within the range that keeps all four at 0 or more.
void bilinear_weights(int k, int wx, int wy, int w11, int (&w)[4])
{
    w11 = std::clamp(w11, std::max(0, wx + wy - k), std::min(wx, wy));
    w[0] = k - wx - wy + w11;
    w[1] = wx - w11;
    w[2] = wy - w11;
    w[3] = w11;
}

template <class Source>
int mix(const Source& a, const Source& b, int width, int height, std::span<Pixel> destination,
        float factor)
{
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (destination.size() < count)
    {
        return -1;
    }
    const int f = static_cast<int>(std::lround(unit(factor) * 255.0f));
    for (std::size_t i = 0; i < count; ++i)
    {
        const auto index = static_cast<std::ptrdiff_t>(i);
        const Pixel p = a.colour(index);
        const Pixel q = b.colour(index);
        auto fade = [f, p, q](int shift)
        {
            const int from = channel(p, shift);
            return from + (((channel(q, shift) - from) * f) >> 8);
        };
        destination[i] = with_channels(destination[i], fade(0), fade(8), fade(16));
    }
    return 0;
}

template <class Source>
int accumulate(const Source& source, int width, int height, std::span<std::int32_t> sums)
{
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (sums.size() / 3 < count)
    {
        return -1;
    }
    for (std::size_t i = 0; i < count; ++i)
    {
        const Pixel p = source.colour(static_cast<std::ptrdiff_t>(i));
        sums[3 * i] += channel(p, 0);
        sums[3 * i + 1] += channel(p, 8);
        sums[3 * i + 2] += channel(p, 16);
    }
    return 0;
}

template <class Source>
int copy(const Source& source, int width, int height, std::span<Pixel> destination)
{
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (destination.size() < count)
    {
        return -1;
    }
    for (std::size_t i = 0; i < count; ++i)
    {
        const Pixel p = source.colour(static_cast<std::ptrdiff_t>(i));
        destination[i] = (destination[i] & 0xFF000000u) | (p & 0x00FFFFFFu);
    }
    return 0;
}

template <class Pic>
const Pic* same_kind(const PicDataInterface& self, const PicDataInterface& other)
{
    if (typeid(other) != typeid(self) || other.get_width() != self.get_width() ||
        other.get_height() != self.get_height())
    {
        return nullptr;
    }
    return static_cast<const Pic*>(&other);
}

int multiply_channel(int c, int p)
{
    return (p * c) >> 8;
}

int add_channel(int c, int p)
{
    return std::min(c + p, 255);
}

} // namespace

bool clip_area(const Rect& area, const Rect& crop, int pic_width, int pic_height,
               const RenderingBufferInterface& buffer, Span2d& out)
{
    const long long left = std::max({area.x1, crop.x1, 0});
    const long long top = std::max({area.y1, crop.y1, 0});
    const long long right = std::min<long long>(
        {area.x2, crop.x2, pic_width, static_cast<long long>(area.x1) + buffer.get_width()});
    const long long bottom = std::min<long long>(
        {area.y2, crop.y2, pic_height, static_cast<long long>(area.y1) + buffer.get_height()});
    if (right - left < 1 || bottom - top < 1)
    {
        return false;
    }
    out.width = static_cast<int>(right - left);
    out.height = static_cast<int>(bottom - top);
    out.src = static_cast<std::ptrdiff_t>(top * pic_width + left);
    out.dst = static_cast<std::ptrdiff_t>((top - area.y1) * buffer.get_width() + (left - area.x1));
    out.src_stride = pic_width;
    out.dst_stride = buffer.get_width();
    return true;
}

bool place_at(long long x, long long y, const Rect& clip, const RenderingBufferInterface& buffer,
              const Rect& crop, Rect& area, Rect& limited_crop)
{
    const Rect visible = intersect(clip, {0, 0, buffer.get_width(), buffer.get_height()});
    if (is_empty(visible))
    {
        return false;
    }
    area = {clamp_to_int(x), clamp_to_int(y), clamp_to_int(x + buffer.get_width()),
            clamp_to_int(y + buffer.get_height())};
    if (area.x1 != x || area.y1 != y)
    {
        return false;
    }
    const Rect visible_in_pic = {clamp_to_int(visible.x1 + x), clamp_to_int(visible.y1 + y),
                                 clamp_to_int(visible.x2 + x), clamp_to_int(visible.y2 + y)};
    limited_crop = intersect(crop, visible_in_pic);
    return !is_empty(limited_crop);
}

bool place_rounded(double x, double y, const Rect& clip, const RenderingBufferInterface& buffer,
                   const Rect& crop, Rect& area, Rect& limited_crop)
{
    if (!(std::abs(x) < position_limit) || !(std::abs(y) < position_limit))
    {
        return false;
    }
    return place_at(static_cast<long long>(std::floor(x + 0.5)),
                    static_cast<long long>(std::floor(y + 0.5)), clip, buffer, crop, area,
                    limited_crop);
}

template <class Source>
int OpaquePicData<Source>::draw(const Rect& area, RenderingBufferInterface& buffer,
                                const Rect& crop) const
{
    Pixel* pixels = buffer.get_pixels();
    Span2d s;
    if (pixels == nullptr || !clip_area(area, crop, get_width(), get_height(), buffer, s))
    {
        return 0;
    }
    Pixel* dst = pixels + s.dst;
    std::ptrdiff_t src = s.src;
    for (int row = 0; row < s.height; ++row)
    {
        source_.copy_row(dst, src, s.width);
        dst += s.dst_stride;
        src += s.src_stride;
    }
    return 0;
}

template <class Source>
int OpaquePicData<Source>::draw_multiply(const Rect& area, RenderingBufferInterface& buffer,
                                         const Rect& crop) const
{
    return for_each_in_area(*this, area, crop, buffer,
                            [this](Pixel& d, std::ptrdiff_t i)
                            { d = per_channel(d, source_.colour(i), multiply_channel); });
}

template <class Source>
int OpaquePicData<Source>::draw_add(const Rect& area, RenderingBufferInterface& buffer,
                                    const Rect& crop) const
{
    return for_each_in_area(*this, area, crop, buffer,
                            [this](Pixel& d, std::ptrdiff_t i)
                            { d = per_channel(d, source_.colour(i), add_channel); });
}

template <class Source>
int SourcePicData<Source>::mix_into(std::span<Pixel> destination, const PicDataInterface& other,
                                    float factor) const
{
    const auto* o = same_kind<SourcePicData>(*this, other);
    if (o == nullptr)
    {
        return -1;
    }
    return mix(source_, o->source_, get_width(), get_height(), destination, factor);
}

template <class Source>
int SourcePicData<Source>::accumulate_into(std::span<std::int32_t> sums) const
{
    return accumulate(source_, get_width(), get_height(), sums);
}

template <class Source>
int SourcePicData<Source>::copy_into(std::span<Pixel> destination) const
{
    return copy(source_, get_width(), get_height(), destination);
}

template <class Source>
int SourcePicData<Source>::draw_placed(AreaDraw area_draw, double x, double y, const Rect& clip,
                                       RenderingBufferInterface& buffer, const Rect& crop) const
{
    Rect area;
    Rect limited;
    return place_rounded(x, y, clip, buffer, crop, area, limited)
               ? (this->*area_draw)(area, buffer, limited)
               : 0;
}

template <class Source>
int AlphaPicData<Source>::draw(const Rect& area, RenderingBufferInterface& buffer,
                               const Rect& crop) const
{
    return for_each_in_area(
        *this, area, crop, buffer,
        [this](Pixel& d, std::ptrdiff_t i)
        {
            const int a = source_.alpha(i);
            if (a == 0)
            {
                return;
            }
            const Pixel p = source_.colour(i);
            if (a == 255)
            {
                d = p;
            }
            else if constexpr (Source::weighted_blend)
            {
                d = per_channel(d, p, [a](int c, int v) { return (v * a + c * (255 - a)) >> 8; });
            }
            else
            {
                d = per_channel(d, p, [a](int c, int v) { return c + (((v - c) * a) >> 8); });
            }
        });
}

template <class Source>
template <class Op>
int AlphaPicData<Source>::draw_combined(const Rect& area, RenderingBufferInterface& buffer,
                                        const Rect& crop, Op op) const
{
    return for_each_in_area(*this, area, crop, buffer,
                            [this, op](Pixel& d, std::ptrdiff_t i)
                            {
                                const int a = source_.alpha(i);
                                if (a == 0)
                                {
                                    return;
                                }
                                d = per_channel(d, source_.colour(i),
                                                [a, op](int c, int v)
                                                {
                                                    const int m = op(c, v);
                                                    return a == 255 ? m : c + (((m - c) * a) >> 8);
                                                });
                            });
}

template <class Source>
int AlphaPicData<Source>::draw_multiply(const Rect& area, RenderingBufferInterface& buffer,
                                        const Rect& crop) const
{
    return draw_combined(area, buffer, crop, [](int c, int v) { return multiply_channel(c, v); });
}

template <class Source>
int AlphaPicData<Source>::draw_add(const Rect& area, RenderingBufferInterface& buffer,
                                   const Rect& crop) const
{
    return draw_combined(area, buffer, crop, [](int c, int v) { return add_channel(c, v); });
}

template <class Source>
int AlphaPicData<Source>::draw_rotated_faded(double x, double y, const Rect& clip, double angle,
                                             RenderingBufferInterface& buffer, const Rect& crop,
                                             float opacity) const
{
    Pixel* pixels = buffer.get_pixels();
    const int k = static_cast<int>(std::lround(unit(opacity) * 256.0f));
    const Rect r = intersect(crop, {0, 0, get_width(), get_height()});
    if (pixels == nullptr || k == 0 || is_empty(r) || !(std::abs(x) < position_limit) ||
        !(std::abs(y) < position_limit) || !std::isfinite(angle))
    {
        return 0;
    }
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    // The buffer pixels that can show the visible part: its turned corners, one pixel wider.
    double min_x = INFINITY;
    double min_y = INFINITY;
    double max_x = -INFINITY;
    double max_y = -INFINITY;
    for (const int px : {r.x1, r.x2})
    {
        for (const int py : {r.y1, r.y2})
        {
            const double bx = (px - x) * c + (py - y) * s;
            const double by = (py - y) * c - (px - x) * s;
            min_x = std::min(min_x, bx);
            max_x = std::max(max_x, bx);
            min_y = std::min(min_y, by);
            max_y = std::max(max_y, by);
        }
    }
    const Rect limit = intersect(clip, {0, 0, buffer.get_width(), buffer.get_height()});
    if (is_empty(limit))
    {
        return 0;
    }
    auto to_limit = [](double v, int lo, int hi)
    { return static_cast<int>(std::clamp(v, static_cast<double>(lo), static_cast<double>(hi))); };
    const int x1 = to_limit(std::floor(min_x) - 1.0, limit.x1, limit.x2);
    const int x2 = to_limit(std::ceil(max_x) + 1.0, limit.x1, limit.x2);
    const int y1 = to_limit(std::floor(min_y) - 1.0, limit.y1, limit.y2);
    const int y2 = to_limit(std::ceil(max_y) + 1.0, limit.y1, limit.y2);
    const int stride = buffer.get_width();
    for (int by = y1; by < y2; ++by)
    {
        Pixel* row = pixels + static_cast<std::ptrdiff_t>(by) * stride;
        for (int bx = x1; bx < x2; ++bx)
        {
            const double sx = bx * c - by * s + x;
            const double sy = bx * s + by * c + y;
            const double fl_x = std::floor(sx);
            const double fl_y = std::floor(sy);
            const int fx = static_cast<int>(std::lround((sx - fl_x) * 255.99));
            const int fy = static_cast<int>(std::lround((sy - fl_y) * 255.99));
            int w[4];
            bilinear_weights(k, (k * fx + 128) >> 8, (k * fy + 128) >> 8,
                             (k * fx * fy + 32768) >> 16, w);
            blend_four(row[bx], source_, r, get_width(), static_cast<long long>(fl_x),
                       static_cast<long long>(fl_y), w);
        }
    }
    return 0;
}

template <class Source>
int AlphaPicData<Source>::draw_at_faded(double x, double y, const Rect& clip,
                                        RenderingBufferInterface& buffer, const Rect& crop,
                                        float opacity) const
{
    Pixel* pixels = buffer.get_pixels();
    const int k = static_cast<int>(std::lround(unit(opacity) * 256.0f));
    const Rect r = intersect(crop, {0, 0, get_width(), get_height()});
    if (pixels == nullptr || k == 0 || is_empty(r) || !(std::abs(x) < position_limit) ||
        !(std::abs(y) < position_limit))
    {
        return 0;
    }
    // Buffer pixel (bx, by) takes picture pixel (bx + ix, by + iy) and its right and lower
    // neighbours, so the picture reaches one pixel further right and down than at a whole
    // position.
    const double fl_x = std::floor(x);
    const double fl_y = std::floor(y);
    const auto ix = static_cast<long long>(fl_x);
    const auto iy = static_cast<long long>(fl_y);
    const double fx = x - fl_x;
    const double fy = y - fl_y;
    int w[4];
    bilinear_weights(k, static_cast<int>(std::lround(k * fx)),
                     static_cast<int>(std::lround(k * fy)),
                     static_cast<int>(std::lround(k * fx * fy)), w);
    const Rect limit = intersect(clip, {0, 0, buffer.get_width(), buffer.get_height()});
    const long long x1 = std::max<long long>(r.x1 - ix - 1, limit.x1);
    const long long x2 = std::min<long long>(r.x2 - ix, limit.x2);
    const long long y1 = std::max<long long>(r.y1 - iy - 1, limit.y1);
    const long long y2 = std::min<long long>(r.y2 - iy, limit.y2);
    const int stride = buffer.get_width();
    for (long long by = y1; by < y2; ++by)
    {
        Pixel* row = pixels + static_cast<std::ptrdiff_t>(by * stride);
        for (long long bx = x1; bx < x2; ++bx)
        {
            blend_four(row[bx], source_, r, get_width(), bx + ix, by + iy, w);
        }
    }
    return 0;
}

template class SourcePicData<Palette8Source>;
template class SourcePicData<Direct24Source>;
template class SourcePicData<AlphaPalette8Source>;
template class SourcePicData<Alpha24Source>;
template class OpaquePicData<Palette8Source>;
template class OpaquePicData<Direct24Source>;
template class AlphaPicData<AlphaPalette8Source>;
template class AlphaPicData<Alpha24Source>;

} // namespace ravik::detail
