#include "kel/txt/out/ArgBase.hpp"

namespace kel::txt::out
{

char ArgNumBase::sign_for(bool negative, const FmtInfo& fmt) noexcept
{
    if (negative)
    {
        return '-';
    }
    switch (fmt.sign_mode)
    {
    case 2:
        return '+';
    case 1:
        return ' ';
    default:
        return 0;
    }
}

std::string_view ArgNumBase::group_digits(std::string_view digits, const FmtInfo& fmt,
                                          char* out) noexcept
{
    const std::size_t group = static_cast<std::size_t>(fmt.s_count);
    const char sep = fmt.base == 10 ? ',' : '_';
    std::size_t len = 0;
    for (std::size_t i = 0; i < digits.size(); ++i)
    {
        const std::size_t left = digits.size() - i;
        if (group > 0 && i > 0 && left % group == 0)
        {
            out[len++] = sep;
        }
        out[len++] = digits[i];
    }
    return {out, len};
}

} // namespace kel::txt::out
