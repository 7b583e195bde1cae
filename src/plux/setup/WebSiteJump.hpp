#pragma once

#include "plux/setup/WebSiteJumpInterface.hpp"

namespace plux
{

// The pages of this product on the maker's site, reached through its jump script with the
// product's number and version.
class WebSiteJump final : public WebSiteJumpInterface
{
public:
    static constexpr const char* site = "https://www.tarvex.com";
    static constexpr long product_id = 11;
    // Version 1.60 as the site numbers it: the digits 160 read as hexadecimal.
    static constexpr int version = 0x160;

    std::string build_url(Kind kind) const override;
    std::string get_action(Kind kind) const override;
};

} // namespace plux
