#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace ravik
{

// The fixed part of an APIC resource: nine little-endian unsigned 32-bit fields, the pixel data
// and the palette following wherever the offsets say.
struct ApicHeader
{
    static constexpr std::size_t size = 36;

    std::uint32_t marker = 0;
    std::uint32_t header_size = 0;
    // 0 opaque picture, 1 picture with alpha or multicolour font, 2 unicolour font.
    std::uint32_t kind = 0;
    // 8 palette indices, 24 direct colour, 0 coverage.
    std::uint32_t bits_per_pixel = 0;
    // Signed, as stored.
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint32_t palette_entries = 0;
    // From the start of the resource.
    std::uint32_t pixel_offset = 0;
    std::uint32_t palette_offset = 0;
};

// A checked view of APIC bytes: every pixel and every palette index it hands out lies inside the
// data, so decoders can read without further checks. Holds pointers into the data.
class ApicResource
{
public:
    enum class Use
    {
        picture,
        font,
    };

    // Empty when the bytes are not a well-formed resource of a kind that the use knows: pictures
    // take kinds 0 and 1 with 8 or 24 bits, fonts kind 1 with 8 bits and kind 2 with 0 bits.
    static std::optional<ApicResource> parse(std::span<const std::uint8_t> data, Use use);

    const ApicHeader& get_header() const { return header_; }
    int get_width() const { return header_.width; }
    int get_height() const { return header_.height; }
    const std::uint8_t* get_pixels() const { return pixels_; }
    // Null without palette.
    const std::uint8_t* get_palette() const { return palette_; }
    int get_bytes_per_pixel() const { return bytes_per_pixel_; }

private:
    ApicHeader header_;
    const std::uint8_t* pixels_ = nullptr;
    const std::uint8_t* palette_ = nullptr;
    int bytes_per_pixel_ = 0;
};

} // namespace ravik
