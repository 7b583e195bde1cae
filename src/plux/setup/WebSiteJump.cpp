#include "plux/setup/WebSiteJump.hpp"

#include <cstdio>

namespace plux
{

std::string WebSiteJump::build_url(Kind kind) const
{
    char ids[64];
    std::snprintf(ids, sizeof(ids), "productid=%ld&version=%d", product_id, version);
    std::string url = std::string(site) + "/jump.php?type=product&" + ids;
    if (const std::string action = get_action(kind); !action.empty())
    {
        url += "&" + action;
    }
    return url;
}

std::string WebSiteJump::get_action(Kind kind) const
{
    switch (kind)
    {
    case updates:
        return "action=update";
    case documentation:
        return "action=documentation";
    case presets:
        return "action=preset";
    case product_info:
        break;
    }
    return {};
}

} // namespace plux
