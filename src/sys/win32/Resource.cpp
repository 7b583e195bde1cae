#include "sys/Resource.hpp"

#include <windows.h>

#include <string>

#include "sys/DebugOutput.hpp"

namespace sys
{

namespace
{

// Its address identifies the module that this code was linked into.
const char module_marker = 0;

std::span<const std::uint8_t> find_resource(const std::string& type, const std::string& name)
{
    HMODULE module = nullptr;
    if (!::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                  GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              &module_marker, &module))
    {
        return {};
    }
    // FindResourceA compares string names and types without regard to letter case.
    HRSRC info = ::FindResourceA(module, name.c_str(), type.c_str());
    if (info == nullptr)
    {
        return {};
    }
    HGLOBAL handle = ::LoadResource(module, info);
    if (handle == nullptr)
    {
        return {};
    }
    const void* data = ::LockResource(handle);
    if (data == nullptr)
    {
        return {};
    }
    return {static_cast<const std::uint8_t*>(data), ::SizeofResource(module, info)};
}

} // namespace

std::span<const std::uint8_t> get_resource(std::string_view type, std::string_view name)
{
    const std::string type_str(type);
    const std::string name_str(name);
    const auto data = find_resource(type_str, name_str);
    if (data.data() == nullptr)
    {
        debug_output("sys::get_resource: Error: couldn't load ressource. Name : " + name_str +
                     ", Type : " + type_str + "\n");
    }
    return data;
}

} // namespace sys
