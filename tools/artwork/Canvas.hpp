#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace artwork
{

// A colour with premultiplied alpha, channels 0 to 1 in the sRGB encoding the buffer shows.
struct Rgba
{
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;

    Rgba operator+(const Rgba& o) const { return {r + o.r, g + o.g, b + o.b, a + o.a}; }
    Rgba operator*(float k) const { return {r * k, g * k, b * k, a * k}; }
};

// An opaque colour from 0xRRGGBB, with coverage a.
inline Rgba hex(std::uint32_t rgb, float a = 1.0f)
{
    return Rgba{static_cast<float>((rgb >> 16) & 0xFF) / 255.0f,
                static_cast<float>((rgb >> 8) & 0xFF) / 255.0f,
                static_cast<float>(rgb & 0xFF) / 255.0f, 1.0f} *
           a;
}

inline Rgba rgb(float r, float g, float b, float a = 1.0f)
{
    return Rgba{r, g, b, 1.0f} * a;
}

// top over bottom.
inline Rgba over(const Rgba& top, const Rgba& bottom)
{
    return top + bottom * (1.0f - top.a);
}

// Straight interpolation of two colours (both premultiplied).
inline Rgba lerp(const Rgba& a, const Rgba& b, float t)
{
    return a * (1.0f - t) + b * t;
}

// The same colour, its channels multiplied by k (alpha kept).
inline Rgba shade(const Rgba& c, float k)
{
    return {c.r * k, c.g * k, c.b * k, c.a};
}

inline float clamp01(float v)
{
    return std::clamp(v, 0.0f, 1.0f);
}

inline float smoothstep(float e0, float e1, float x)
{
    const float t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3.0f - 2.0f * t);
}

// Coverage of a pixel-sized sample by the inside (negative side) of a signed distance.
inline float cover(float distance)
{
    return clamp01(0.5f - distance);
}

// Signed distance to a rectangle (x1, y1)-(x2, y2) with rounded corners of radius r.
inline float rounded_box(float x, float y, float x1, float y1, float x2, float y2, float r)
{
    const float cx = (x1 + x2) * 0.5f;
    const float cy = (y1 + y2) * 0.5f;
    const float hx = (x2 - x1) * 0.5f - r;
    const float hy = (y2 - y1) * 0.5f - r;
    const float qx = std::abs(x - cx) - hx;
    const float qy = std::abs(y - cy) - hy;
    const float ox = std::max(qx, 0.0f);
    const float oy = std::max(qy, 0.0f);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - r;
}

// Signed distance to the segment (ax, ay)-(bx, by) thickened to half width w.
inline float segment(float x, float y, float ax, float ay, float bx, float by, float w)
{
    const float px = x - ax;
    const float py = y - ay;
    const float dx = bx - ax;
    const float dy = by - ay;
    const float h = clamp01((px * dx + py * dy) / (dx * dx + dy * dy));
    return std::hypot(px - dx * h, py - dy * h) - w;
}

// A picture being drawn: premultiplied colours, pixel (x, y) covering [x, x + 1) x [y, y + 1).
class Canvas
{
public:
    Canvas() = default;
    Canvas(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    Rgba& at(int x, int y) { return pixels_[static_cast<std::size_t>(y * width_ + x)]; }
    const Rgba& at(int x, int y) const { return pixels_[static_cast<std::size_t>(y * width_ + x)]; }
    // Transparent outside.
    Rgba get(int x, int y) const;

    // Composites shader(x, y) (a premultiplied colour at a point) over every pixel, averaged over
    // samples x samples points a pixel.
    template <class Shader>
    void paint(Shader&& shader, int samples = 4)
    {
        paint(0, 0, width_, height_, shader, samples);
    }
    template <class Shader>
    void paint(int x1, int y1, int x2, int y2, Shader&& shader, int samples = 4)
    {
        x1 = std::max(x1, 0);
        y1 = std::max(y1, 0);
        x2 = std::min(x2, width_);
        y2 = std::min(y2, height_);
        const float step = 1.0f / static_cast<float>(samples);
        const float weight = step * step;
        for (int y = y1; y < y2; ++y)
        {
            for (int x = x1; x < x2; ++x)
            {
                Rgba sum;
                for (int j = 0; j < samples; ++j)
                {
                    for (int i = 0; i < samples; ++i)
                    {
                        sum = sum +
                              shader(static_cast<float>(x) + (static_cast<float>(i) + 0.5f) * step,
                                     static_cast<float>(y) + (static_cast<float>(j) + 0.5f) * step);
                    }
                }
                at(x, y) = over(sum * weight, at(x, y));
            }
        }
    }

    // src over this, its top-left at (dx, dy).
    void draw(const Canvas& src, int dx, int dy, float opacity = 1.0f);
    // Every pixel's colour and alpha times k.
    void fade(float k);
    // A Gaussian blur of standard deviation sigma pixels, the edges treated as transparent.
    Canvas blurred(float sigma) const;
    // The alpha of this picture as a shape in colour c, blurred: a soft shadow or glow.
    Canvas silhouette(const Rgba& c, float sigma) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<Rgba> pixels_;
};

} // namespace artwork
