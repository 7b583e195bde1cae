#include "ApicWriter.hpp"

#include <algorithm>
#include <cmath>
#include <map>

namespace artwork::apic
{

namespace
{

constexpr std::uint32_t header_size = 36;

void put(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
    {
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

std::vector<std::uint8_t> header(std::uint32_t kind, std::uint32_t bits, int width, int height,
                                 std::uint32_t palette_entries)
{
    std::vector<std::uint8_t> out;
    put(out, 1);
    put(out, header_size);
    put(out, kind);
    put(out, bits);
    put(out, static_cast<std::uint32_t>(width));
    put(out, static_cast<std::uint32_t>(height));
    put(out, palette_entries);
    put(out, header_size + 4 * palette_entries);
    put(out, palette_entries > 0 ? header_size : 0);
    return out;
}

std::uint8_t to_byte(float v)
{
    return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

// Straight blue, green, red and alpha bytes of a premultiplied colour; invisible pixels are
// black so that equal pictures give equal bytes.
std::uint32_t straight(const Rgba& c)
{
    const std::uint8_t a = to_byte(c.a);
    if (a == 0)
    {
        return 0;
    }
    const float k = 1.0f / c.a;
    return static_cast<std::uint32_t>(to_byte(c.b * k)) |
           (static_cast<std::uint32_t>(to_byte(c.g * k)) << 8) |
           (static_cast<std::uint32_t>(to_byte(c.r * k)) << 16) |
           (static_cast<std::uint32_t>(a) << 24);
}

} // namespace

std::vector<std::uint8_t> opaque(const Canvas& canvas)
{
    auto out = header(0, 24, canvas.width(), canvas.height(), 0);
    for (int y = 0; y < canvas.height(); ++y)
    {
        for (int x = 0; x < canvas.width(); ++x)
        {
            const Rgba c = over(canvas.at(x, y), hex(0x000000));
            put(out, static_cast<std::uint32_t>(to_byte(c.b)) |
                         (static_cast<std::uint32_t>(to_byte(c.g)) << 8) |
                         (static_cast<std::uint32_t>(to_byte(c.r)) << 16) | 0xFF000000u);
        }
    }
    return out;
}

std::vector<std::uint8_t> with_alpha(const Canvas& canvas)
{
    std::vector<std::uint32_t> pixels;
    std::map<std::uint32_t, std::uint32_t> colours;
    for (int y = 0; y < canvas.height(); ++y)
    {
        for (int x = 0; x < canvas.width(); ++x)
        {
            const std::uint32_t p = straight(canvas.at(x, y));
            pixels.push_back(p);
            colours.emplace(p & 0x00FFFFFFu, 0);
        }
    }
    if (colours.size() > 256)
    {
        auto out = header(1, 24, canvas.width(), canvas.height(), 0);
        for (const auto p : pixels)
        {
            put(out, p);
        }
        return out;
    }
    auto out =
        header(1, 8, canvas.width(), canvas.height(), static_cast<std::uint32_t>(colours.size()));
    std::uint32_t index = 0;
    for (auto& [colour, slot] : colours)
    {
        slot = index++;
        put(out, colour);
    }
    for (const auto p : pixels)
    {
        out.push_back(static_cast<std::uint8_t>(colours[p & 0x00FFFFFFu]));
        out.push_back(static_cast<std::uint8_t>(p >> 24));
    }
    return out;
}

std::vector<std::uint8_t> unicolour_font(int width, int height,
                                         const std::vector<std::uint8_t>& coverage)
{
    auto out = header(2, 0, width, height, 0);
    out.insert(out.end(), coverage.begin(), coverage.end());
    return out;
}

} // namespace artwork::apic
