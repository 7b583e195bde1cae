#pragma once

#include <string>

namespace plux
{

// The maker's web pages that the setup menu opens.
class WebSiteJumpInterface
{
public:
    enum Kind
    {
        product_info,
        updates,
        documentation,
        presets,
    };

    virtual ~WebSiteJumpInterface() = default;

    virtual std::string build_url(Kind kind) const = 0;
    // What the page is asked to show ("action=update"); empty for the product's own page.
    virtual std::string get_action(Kind kind) const = 0;
};

} // namespace plux
