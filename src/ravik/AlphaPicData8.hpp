#pragma once

#include <cstdint>

#include "ravik/detail/PicDataImpl.hpp"

namespace ravik
{

// A picture resource with a palette index and an alpha a pixel (kind 1, 8 bits). The pointers go
// into the resource and must outlive the object; PicDataFactory checks them against its size.
class AlphaPicData8 final : public detail::AlphaPicData<detail::AlphaPalette8Source>
{
public:
    AlphaPicData8(int width, int height, const std::uint8_t* pixels, const std::uint8_t* palette)
        : AlphaPicData(width, height, detail::AlphaPalette8Source{pixels, palette})
    {
    }
};

} // namespace ravik
