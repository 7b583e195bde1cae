#include "sys/posix/ResourceRegistry.hpp"

#include <algorithm>
#include <mutex>
#include <vector>

#include "kel/NoCase.hpp"

namespace sys
{

namespace
{

struct Table
{
    std::mutex mutex;
    std::vector<const ResourceRegistry*> registries;
};

// Built on first use, which is the first registry's construction, so it outlives them all.
Table& use_table()
{
    static Table table;
    return table;
}

} // namespace

ResourceRegistry::ResourceRegistry(std::span<const Entry> entries)
    : entries_(entries)
{
    Table& table = use_table();
    const std::lock_guard lock(table.mutex);
    table.registries.push_back(this);
}

ResourceRegistry::~ResourceRegistry()
{
    Table& table = use_table();
    const std::lock_guard lock(table.mutex);
    std::erase(table.registries, this);
}

std::span<const std::uint8_t> ResourceRegistry::find(std::string_view type, std::string_view name)
{
    Table& table = use_table();
    const std::lock_guard lock(table.mutex);
    for (const ResourceRegistry* registry : table.registries)
    {
        for (const Entry& entry : registry->entries_)
        {
            if (kel::equals_no_case(entry.type, type) && kel::equals_no_case(entry.name, name))
            {
                return entry.data;
            }
        }
    }
    return {};
}

} // namespace sys
