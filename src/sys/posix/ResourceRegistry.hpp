#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace sys
{

// Where the system keeps no resources in a module, the code that morvane_add_resources()
// generates embeds the bytes and registers them here for get_resource. Hidden, so that every
// shared module keeps a table of its own, as every Windows module has its own resources.
class __attribute__((visibility("hidden"))) ResourceRegistry
{
public:
    struct Entry
    {
        std::string_view type;
        std::string_view name;
        std::span<const std::uint8_t> data;
    };

    // entries (static storage, names as stored) can be found from construction to destruction:
    // one object per module, built before main or while the module loads.
    explicit ResourceRegistry(std::span<const Entry> entries);
    ~ResourceRegistry();
    ResourceRegistry(const ResourceRegistry&) = delete;
    ResourceRegistry& operator=(const ResourceRegistry&) = delete;

    // Types and names compare without regard to ASCII letter case. Null data when absent.
    static std::span<const std::uint8_t> find(std::string_view type, std::string_view name);

private:
    std::span<const Entry> entries_;
};

} // namespace sys
