#pragma once

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "ravik/PicDataFactory.hpp"
#include "ravik/RenderingBufferMemory.hpp"

// Picture and font resources written byte by byte for tests: header, then palette, then pixels.
struct ApicBytes
{
    std::uint32_t marker = 1;
    std::uint32_t header_size = 36;
    std::uint32_t kind = 0;
    std::uint32_t bits = 24;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint32_t> palette{}; // 0xXXRRGGBB each
    std::vector<std::uint8_t> pixels{};   // as stored
    // Replace the counted entries or offsets when not negative.
    long long palette_entries = -1;
    long long pixel_offset = -1;
    long long palette_offset = -1;

    std::vector<std::uint8_t> bytes() const
    {
        std::vector<std::uint8_t> out;
        auto put = [&out](auto value)
        {
            for (int i = 0; i < 4; ++i)
                out.push_back(
                    static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> 8 * i));
        };
        auto given_or = [](long long given, std::size_t counted)
        { return given >= 0 ? given : static_cast<long long>(counted); };
        for (const std::uint32_t field : {marker, header_size, kind, bits})
            put(field);
        put(width);
        put(height);
        put(given_or(palette_entries, palette.size()));
        put(given_or(pixel_offset, 36 + 4 * palette.size()));
        put(given_or(palette_offset, palette.empty() ? 0 : 36));
        for (const auto colour : palette)
            put(colour);
        out.insert(out.end(), pixels.begin(), pixels.end());
        return out;
    }
};

enum class Decoder
{
    pal8,
    direct24,
    alpha_pal8,
    alpha24,
};

inline std::string decoder_name(Decoder d)
{
    static const char* const names[] = {"PicData8", "PicData24", "AlphaPicData8", "AlphaPicData24"};
    return names[static_cast<int>(d)];
}

inline void PrintTo(Decoder d, std::ostream* os)
{
    *os << decoder_name(d);
}

inline bool has_alpha(Decoder d)
{
    return d == Decoder::alpha_pal8 || d == Decoder::alpha24;
}

inline const std::vector<Decoder> all_decoders = {Decoder::pal8, Decoder::direct24,
                                                  Decoder::alpha_pal8, Decoder::alpha24};
inline const std::vector<Decoder> opaque_decoders = {Decoder::pal8, Decoder::direct24};
inline const std::vector<Decoder> alpha_decoders = {Decoder::alpha_pal8, Decoder::alpha24};

// A picture of width x height pixels in the given decoder's format. colours are 0xXXRRGGBB with
// the fourth byte as a palette entry or opaque pixel holds it; alphas (one a pixel, or empty for
// all 255) replace it in 24-bit pictures with alpha.
inline ApicBytes make_apic(Decoder d, int width, int height,
                           const std::vector<std::uint32_t>& colours,
                           const std::vector<std::uint8_t>& alphas = {})
{
    ApicBytes a{.kind = has_alpha(d) ? 1u : 0u,
                .bits = d == Decoder::pal8 || d == Decoder::alpha_pal8 ? 8u : 24u,
                .width = width,
                .height = height};
    const int bytes_per_pixel = a.bits == 24 ? 4 : has_alpha(d) ? 2 : 1;
    for (std::size_t i = 0; i < colours.size(); ++i)
    {
        const std::uint32_t alpha = alphas.empty() ? 255 : alphas[i];
        std::uint32_t stored =
            d == Decoder::alpha24 ? (colours[i] & 0x00FFFFFFu) | alpha << 24 : colours[i];
        if (a.bits == 8)
        {
            auto entry = std::find(a.palette.begin(), a.palette.end(), colours[i]);
            if (entry == a.palette.end())
                entry = a.palette.insert(entry, colours[i]);
            stored = static_cast<std::uint32_t>(entry - a.palette.begin()) | alpha << 8;
        }
        for (int b = 0; b < bytes_per_pixel; ++b)
            a.pixels.push_back(static_cast<std::uint8_t>(stored >> 8 * b));
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

inline std::string hex(ravik::Pixel p)
{
    std::ostringstream s;
    s << "0x" << std::hex << p;
    return s.str();
}

constexpr ravik::Pixel grey(ravik::Pixel level)
{
    return level * 0x010101u;
}

// Every buffer pixel keeps fill but those changed: (x, y, value).
inline void expect_only(const ravik::RenderingBufferMemory& buffer, ravik::Pixel fill,
                        const std::vector<std::tuple<int, int, ravik::Pixel>>& changed)
{
    for (int i = 0; i < buffer.get_width() * buffer.get_height(); ++i)
    {
        const int x = i % buffer.get_width();
        const int y = i / buffer.get_width();
        ravik::Pixel expected = fill;
        for (const auto& [cx, cy, value] : changed)
            expected = cx == x && cy == y ? value : expected;
        EXPECT_EQ(hex(buffer.get_pixel(x, y)), hex(expected)) << "pixel " << x << ", " << y;
    }
}
