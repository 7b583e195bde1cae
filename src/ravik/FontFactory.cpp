#include "ravik/FontFactory.hpp"

#include "ravik/ApicResource.hpp"
#include "ravik/MulticolorFont.hpp"
#include "ravik/UnicolorFont.hpp"
#include "sys/Resource.hpp"

namespace ravik
{

std::unique_ptr<FontInterface> FontFactory::create(std::string_view name)
{
    return create_from_data(sys::get_resource("APIC", name));
}

std::unique_ptr<FontInterface> FontFactory::create_from_data(std::span<const std::uint8_t> data)
{
    const auto res = ApicResource::parse(data, ApicResource::Use::font);
    if (!res)
    {
        return nullptr;
    }
    if (res->get_header().kind == 2)
    {
        return std::make_unique<UnicolorFont>(res->get_width(), res->get_height(),
                                              res->get_pixels());
    }
    return std::make_unique<MulticolorFont>(res->get_width(), res->get_height(), res->get_pixels(),
                                            res->get_palette());
}

} // namespace ravik
