#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "ravik/PicDataFactory.hpp"

// Picture and font resources written byte by byte for tests: header, then palette, then pixels.
struct ApicBytes
{
    std::uint32_t marker = 1;
    std::uint32_t header_size = 36;
    std::uint32_t kind = 0;
    std::uint32_t bits = 24;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint32_t> palette; // 0xXXRRGGBB each
    std::vector<std::uint8_t> pixels;   // as stored
    // Replace the counted entries or offsets when not negative.
    long long palette_entries = -1;
    long long pixel_offset = -1;
    long long palette_offset = -1;

    std::vector<std::uint8_t> bytes() const
    {
        std::vector<std::uint8_t> out;
        auto put = [&out](std::uint32_t v)
        {
            for (int i = 0; i < 4; ++i)
            {
                out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
            }
        };
        const auto pal_at = static_cast<std::uint32_t>(palette.empty() ? 0 : 36);
        const auto pix_at = static_cast<std::uint32_t>(36 + 4 * palette.size());
        put(marker);
        put(header_size);
        put(kind);
        put(bits);
        put(static_cast<std::uint32_t>(width));
        put(static_cast<std::uint32_t>(height));
        put(palette_entries >= 0 ? static_cast<std::uint32_t>(palette_entries)
                                 : static_cast<std::uint32_t>(palette.size()));
        put(pixel_offset >= 0 ? static_cast<std::uint32_t>(pixel_offset) : pix_at);
        put(palette_offset >= 0 ? static_cast<std::uint32_t>(palette_offset) : pal_at);
        for (const auto c : palette)
        {
            put(c);
        }
        out.insert(out.end(), pixels.begin(), pixels.end());
        return out;
    }
};

// Pixel bytes of a 24-bit picture from 0xAARRGGBB values (AA: fourth byte or alpha).
inline std::vector<std::uint8_t> pixels24(const std::vector<std::uint32_t>& values)
{
    std::vector<std::uint8_t> out;
    for (const auto v : values)
    {
        for (int i = 0; i < 4; ++i)
        {
            out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        }
    }
    return out;
}

enum class Decoder
{
    pal8,
    direct24,
    alpha_pal8,
    alpha24,
};

inline std::string decoder_name(Decoder d)
{
    switch (d)
    {
    case Decoder::pal8:
        return "PicData8";
    case Decoder::direct24:
        return "PicData24";
    case Decoder::alpha_pal8:
        return "AlphaPicData8";
    case Decoder::alpha24:
        return "AlphaPicData24";
    }
    return "?";
}

inline void PrintTo(Decoder d, std::ostream* os)
{
    *os << decoder_name(d);
}

inline bool has_alpha(Decoder d)
{
    return d == Decoder::alpha_pal8 || d == Decoder::alpha24;
}

// A picture of width x height pixels in the given decoder's format. colours are 0xXXRRGGBB with
// the fourth byte as a palette entry or opaque pixel holds it; alphas (one a pixel, or empty for
// all 255) replace it in 24-bit pictures with alpha.
inline ApicBytes make_apic(Decoder d, int width, int height,
                           const std::vector<std::uint32_t>& colours,
                           const std::vector<std::uint8_t>& alphas = {})
{
    ApicBytes a;
    a.width = width;
    a.height = height;
    a.kind = has_alpha(d) ? 1 : 0;
    a.bits = (d == Decoder::pal8 || d == Decoder::alpha_pal8) ? 8 : 24;
    for (std::size_t i = 0; i < colours.size(); ++i)
    {
        const std::uint8_t alpha = alphas.empty() ? 255 : alphas[i];
        if (a.bits == 8)
        {
            auto it = std::find(a.palette.begin(), a.palette.end(), colours[i]);
            if (it == a.palette.end())
            {
                a.palette.push_back(colours[i]);
                it = a.palette.end() - 1;
            }
            a.pixels.push_back(static_cast<std::uint8_t>(it - a.palette.begin()));
            if (d == Decoder::alpha_pal8)
            {
                a.pixels.push_back(alpha);
            }
        }
        else
        {
            const std::uint32_t v = d == Decoder::alpha24
                                        ? (colours[i] & 0x00FFFFFFu) | (std::uint32_t{alpha} << 24)
                                        : colours[i];
            const auto bytes = pixels24({v});
            a.pixels.insert(a.pixels.end(), bytes.begin(), bytes.end());
        }
    }
    return a;
}

// Resource bytes and the decoder reading them; the bytes move with it.
struct LoadedPicture
{
    std::vector<std::uint8_t> bytes;
    std::unique_ptr<ravik::PicDataInterface> pic;
};

inline LoadedPicture load_picture(const ApicBytes& a)
{
    LoadedPicture l{a.bytes(), nullptr};
    l.pic = ravik::PicDataFactory::create_from_data(l.bytes);
    return l;
}
