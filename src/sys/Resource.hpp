#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace sys
{

// The bytes of a resource of the module (executable or shared library) that holds this code,
// found by type and name without regard to letter case. Read-only and valid for the lifetime of
// the module. Empty when there is no such resource; the debug output then says so. Resources are
// put into a module with morvane_add_resources() in CMake.
std::span<const std::uint8_t> get_resource(std::string_view type, std::string_view name);

} // namespace sys
