#pragma once

#include <cstdint>

#include "ravik/detail/PicDataImpl.hpp"

namespace ravik
{

// An opaque picture resource, blue, green, red and a fourth byte a pixel (kind 0, 24 bits); draw
// copies whole rows at once. The pointer goes into the resource and must outlive the object;
// PicDataFactory checks it against its size.
class PicData24 final : public detail::OpaquePicData<detail::Direct24Source>
{
public:
    PicData24(int width, int height, const std::uint8_t* pixels)
        : OpaquePicData(width, height, detail::Direct24Source{pixels})
    {
    }
};

} // namespace ravik
