#pragma once

#include <cstdint>

#include "ravik/detail/PicDataImpl.hpp"

namespace ravik
{

// An opaque picture resource, one palette index a pixel (kind 0, 8 bits). The pointers go into
// the resource and must outlive the object; PicDataFactory checks them against its size.
class PicData8 final : public detail::OpaquePicData<detail::Palette8Source>
{
public:
    PicData8(int width, int height, const std::uint8_t* pixels, const std::uint8_t* palette)
        : OpaquePicData(width, height, detail::Palette8Source{pixels, palette})
    {
    }
};

} // namespace ravik
