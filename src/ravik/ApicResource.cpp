#include "ravik/ApicResource.hpp"

#include <algorithm>
#include <bit>

namespace ravik
{

namespace
{

std::uint32_t read_u32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

int bytes_per_pixel(std::uint32_t kind, std::uint32_t bits)
{
    if (bits == 24)
    {
        return 4;
    }
    if (bits == 0)
    {
        return 1;
    }
    return kind == 1 ? 2 : 1;
}

bool kind_fits(std::uint32_t kind, std::uint32_t bits, ApicResource::Use use)
{
    if (use == ApicResource::Use::picture)
    {
        return kind == 0 || kind == 1;
    }
    return (kind == 1 && bits == 8) || (kind == 2 && bits == 0);
}

} // namespace

std::optional<ApicResource> ApicResource::parse(std::span<const std::uint8_t> data, Use use)
{
    if (data.size() < ApicHeader::size)
    {
        return std::nullopt;
    }
    ApicHeader h;
    const std::uint8_t* p = data.data();
    h.marker = read_u32(p);
    h.header_size = read_u32(p + 4);
    h.kind = read_u32(p + 8);
    h.bits_per_pixel = read_u32(p + 12);
    h.width = std::bit_cast<std::int32_t>(read_u32(p + 16));
    h.height = std::bit_cast<std::int32_t>(read_u32(p + 20));
    h.palette_entries = read_u32(p + 24);
    h.pixel_offset = read_u32(p + 28);
    h.palette_offset = read_u32(p + 32);

    if (h.marker == 0 || h.header_size < ApicHeader::size || h.header_size > data.size())
    {
        return std::nullopt;
    }
    if (h.width < 0 && h.height < 0)
    {
        return std::nullopt;
    }
    // One negative side makes a picture without pixels, which draws nothing.
    h.width = std::max(h.width, 0);
    h.height = std::max(h.height, 0);
    const bool paletted = h.bits_per_pixel == 8;
    if (use == Use::picture ? !(paletted || h.bits_per_pixel == 24)
                            : !(paletted || h.bits_per_pixel == 0))
    {
        return std::nullopt;
    }
    if (paletted && h.palette_entries > 256)
    {
        return std::nullopt;
    }
    if (!kind_fits(h.kind, h.bits_per_pixel, use))
    {
        return std::nullopt;
    }
    // A font needs its marker row.
    if (use == Use::font && h.height < 1)
    {
        return std::nullopt;
    }

    const int bpp = bytes_per_pixel(h.kind, h.bits_per_pixel);
    const auto count = static_cast<std::uint64_t>(h.width) * static_cast<std::uint64_t>(h.height);
    if (h.pixel_offset > data.size() || count * bpp > data.size() - h.pixel_offset)
    {
        return std::nullopt;
    }
    ApicResource res;
    res.header_ = h;
    res.bytes_per_pixel_ = bpp;
    res.pixels_ = p + h.pixel_offset;
    if (paletted)
    {
        const std::uint64_t palette_bytes = 4ull * h.palette_entries;
        if (h.palette_offset > data.size() || palette_bytes > data.size() - h.palette_offset)
        {
            return std::nullopt;
        }
        // Decoders index the palette without a check.
        for (std::uint64_t i = 0; i < count; ++i)
        {
            if (res.pixels_[i * bpp] >= h.palette_entries)
            {
                return std::nullopt;
            }
        }
        res.palette_ = p + h.palette_offset;
    }
    return res;
}

} // namespace ravik
