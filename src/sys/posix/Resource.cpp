#include "sys/Resource.hpp"

#include <string>

#include "sys/DebugOutput.hpp"
#include "sys/posix/ResourceRegistry.hpp"

namespace sys
{

std::span<const std::uint8_t> get_resource(std::string_view type, std::string_view name)
{
    const auto data = ResourceRegistry::find(type, name);
    if (data.data() == nullptr)
    {
        debug_output("sys::get_resource: Error: couldn't load ressource. Name : " +
                     std::string(name) + ", Type : " + std::string(type) + "\n");
    }
    return data;
}

} // namespace sys
