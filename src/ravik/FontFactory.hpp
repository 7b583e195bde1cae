#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "ravik/FontInterface.hpp"

namespace ravik
{

// Makes the font that fits a font resource. Editor thread.
class FontFactory
{
public:
    // The resource of type "APIC" with that name (letter case ignored) in the module that holds
    // this code; null when it is missing or not a font.
    static std::unique_ptr<FontInterface> create(std::string_view name);
    // The same for bytes at hand, which must outlive the result.
    static std::unique_ptr<FontInterface> create_from_data(std::span<const std::uint8_t> data);
};

} // namespace ravik
