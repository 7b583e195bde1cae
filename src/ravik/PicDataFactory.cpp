#include "ravik/PicDataFactory.hpp"

#include "ravik/AlphaPicData24.hpp"
#include "ravik/AlphaPicData8.hpp"
#include "ravik/ApicResource.hpp"
#include "ravik/PicData24.hpp"
#include "ravik/PicData8.hpp"
#include "sys/Resource.hpp"

namespace ravik
{

std::unique_ptr<PicDataInterface> PicDataFactory::create(std::string_view name)
{
    return create_from_data(sys::get_resource("APIC", name));
}

std::unique_ptr<PicDataInterface>
PicDataFactory::create_from_data(std::span<const std::uint8_t> data)
{
    const auto res = ApicResource::parse(data, ApicResource::Use::picture);
    if (!res)
    {
        return nullptr;
    }
    const int w = res->get_width();
    const int h = res->get_height();
    const bool paletted = res->get_header().bits_per_pixel == 8;
    if (res->get_header().kind == 0)
    {
        if (paletted)
        {
            return std::make_unique<PicData8>(w, h, res->get_pixels(), res->get_palette());
        }
        return std::make_unique<PicData24>(w, h, res->get_pixels());
    }
    if (paletted)
    {
        return std::make_unique<AlphaPicData8>(w, h, res->get_pixels(), res->get_palette());
    }
    return std::make_unique<AlphaPicData24>(w, h, res->get_pixels());
}

} // namespace ravik
