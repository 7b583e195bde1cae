#pragma once

#include <string>
#include <string_view>

#include "kel/txt/out/ArgBase.hpp"

namespace kel::txt::out
{

// A text. It refers to the caller's characters, which must outlive the printing.
class ArgString final : public ArgBase
{
public:
    explicit ArgString(std::string_view text) noexcept
        : text_(text)
    {
    }
    explicit ArgString(const std::string& text) noexcept
        : text_(text)
    {
    }
    // A null pointer prints as "(null)", so a diagnostic about a missing name still prints.
    explicit ArgString(const char* text) noexcept
        : text_(text != nullptr ? text : "(null)")
    {
    }

    int render(DevInterface& dev, const FmtInfo& fmt) const override;

private:
    std::string_view text_;
};

} // namespace kel::txt::out
