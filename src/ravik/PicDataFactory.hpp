#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "ravik/PicDataInterface.hpp"

namespace ravik
{

// Makes the decoder that fits a picture resource. Editor thread.
class PicDataFactory
{
public:
    // The resource of type "APIC" with that name (letter case ignored) in the module that holds
    // this code; null when it is missing or not a picture this toolkit can draw.
    static std::unique_ptr<PicDataInterface> create(std::string_view name);
    // The same for bytes at hand, which must outlive the result.
    static std::unique_ptr<PicDataInterface> create_from_data(std::span<const std::uint8_t> data);
};

} // namespace ravik
