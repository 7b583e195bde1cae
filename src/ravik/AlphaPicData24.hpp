#pragma once

#include <cstdint>

#include "ravik/detail/PicDataImpl.hpp"

namespace ravik
{

// A picture resource with blue, green, red and alpha a pixel (kind 1, 24 bits). The pointer goes
// into the resource and must outlive the object; PicDataFactory checks it against its size.
class AlphaPicData24 final : public detail::AlphaPicData<detail::Alpha24Source>
{
public:
    AlphaPicData24(int width, int height, const std::uint8_t* pixels)
        : AlphaPicData(width, height, detail::Alpha24Source{pixels})
    {
    }
};

} // namespace ravik
