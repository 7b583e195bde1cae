#include "Canvas.hpp"

namespace artwork
{

Canvas::Canvas(int width, int height)
    : width_(width)
    , height_(height)
    , pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
{
}

Rgba Canvas::get(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
    {
        return {};
    }
    return at(x, y);
}

void Canvas::draw(const Canvas& src, int dx, int dy, float opacity)
{
    for (int y = 0; y < src.height(); ++y)
    {
        for (int x = 0; x < src.width(); ++x)
        {
            const int tx = x + dx;
            const int ty = y + dy;
            if (tx >= 0 && ty >= 0 && tx < width_ && ty < height_)
            {
                at(tx, ty) = over(src.at(x, y) * opacity, at(tx, ty));
            }
        }
    }
}

void Canvas::fade(float k)
{
    for (auto& p : pixels_)
    {
        p = p * k;
    }
}

Canvas Canvas::blurred(float sigma) const
{
    const int radius = std::max(1, static_cast<int>(std::ceil(sigma * 3.0f)));
    std::vector<float> kernel(static_cast<std::size_t>(2 * radius + 1));
    float total = 0.0f;
    for (int i = -radius; i <= radius; ++i)
    {
        const float v = std::exp(-0.5f * static_cast<float>(i * i) / (sigma * sigma));
        kernel[static_cast<std::size_t>(i + radius)] = v;
        total += v;
    }
    for (auto& v : kernel)
    {
        v /= total;
    }
    Canvas mid(width_, height_);
    for (int y = 0; y < height_; ++y)
    {
        for (int x = 0; x < width_; ++x)
        {
            Rgba sum;
            for (int i = -radius; i <= radius; ++i)
            {
                sum = sum + get(x + i, y) * kernel[static_cast<std::size_t>(i + radius)];
            }
            mid.at(x, y) = sum;
        }
    }
    Canvas out(width_, height_);
    for (int y = 0; y < height_; ++y)
    {
        for (int x = 0; x < width_; ++x)
        {
            Rgba sum;
            for (int i = -radius; i <= radius; ++i)
            {
                sum = sum + mid.get(x, y + i) * kernel[static_cast<std::size_t>(i + radius)];
            }
            out.at(x, y) = sum;
        }
    }
    return out;
}

Canvas Canvas::silhouette(const Rgba& c, float sigma) const
{
    Canvas shape(width_, height_);
    for (int y = 0; y < height_; ++y)
    {
        for (int x = 0; x < width_; ++x)
        {
            shape.at(x, y) = c * at(x, y).a;
        }
    }
    return sigma > 0.0f ? shape.blurred(sigma) : shape;
}

} // namespace artwork
