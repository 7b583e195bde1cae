#pragma once

#include <cstdint>

// Stored binary formats are big-endian whatever the machine's byte order. Callers check the
// bounds; these only move bytes.
namespace basic::big_endian
{

inline std::uint16_t load_u16(const std::uint8_t* src)
{
    return static_cast<std::uint16_t>((src[0] << 8) | src[1]);
}

inline std::uint32_t load_u32(const std::uint8_t* src)
{
    return (std::uint32_t{src[0]} << 24) | (std::uint32_t{src[1]} << 16) |
           (std::uint32_t{src[2]} << 8) | std::uint32_t{src[3]};
}

inline void store_u16(std::uint8_t* dst, std::uint16_t val)
{
    dst[0] = static_cast<std::uint8_t>(val >> 8);
    dst[1] = static_cast<std::uint8_t>(val);
}

inline void store_u32(std::uint8_t* dst, std::uint32_t val)
{
    dst[0] = static_cast<std::uint8_t>(val >> 24);
    dst[1] = static_cast<std::uint8_t>(val >> 16);
    dst[2] = static_cast<std::uint8_t>(val >> 8);
    dst[3] = static_cast<std::uint8_t>(val);
}

} // namespace basic::big_endian
