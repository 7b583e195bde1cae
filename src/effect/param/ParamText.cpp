#include "effect/param/ParamText.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace
{

void cut_into(char (&out)[ParamText::capacity], const char* text, std::size_t len, int width)
{
    const std::size_t limit = std::min<std::size_t>(static_cast<std::size_t>(std::max(width, 0)),
                                                    ParamText::capacity - 1);
    len = std::min(len, limit);
    std::memcpy(out, text, len);
    out[len] = '\0';
}

bool is_blank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

void ParamText::format_fixed(char (&out)[capacity], double val, int width) noexcept
{
    // Wide enough for "%f" of the largest double (309 digits, point and six decimals).
    char text[400];
    const auto res = std::to_chars(text, text + sizeof(text), val, std::chars_format::fixed, 6);
    const std::size_t len = res.ec == std::errc() ? static_cast<std::size_t>(res.ptr - text) : 0;
    cut_into(out, text, len, width);
}

void ParamText::format_int(char (&out)[capacity], long long val, int width) noexcept
{
    char text[32];
    const auto res = std::to_chars(text, text + sizeof(text), val);
    cut_into(out, text, static_cast<std::size_t>(res.ptr - text), width);
}

bool ParamText::read_number(const char* text, double& val) noexcept
{
    if (text == nullptr)
    {
        return false;
    }
    while (is_blank(*text))
    {
        ++text;
    }
    bool negative = false;
    if (*text == '+' || *text == '-')
    {
        negative = *text == '-';
        ++text;
    }
    if (*text == '+' || *text == '-')
    {
        return false;
    }
    const char* end = text + std::strlen(text);
    // "%lf" reads C99 hexadecimal numbers too: "0x10" is 16, "0x1p3" is 8.
    const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X') &&
                     (std::isxdigit(static_cast<unsigned char>(text[2])) != 0 ||
                      (text[2] == '.' && std::isxdigit(static_cast<unsigned char>(text[3])) != 0));
    if (hex)
    {
        text += 2;
    }
    const char exponent = hex ? 'p' : 'e';
    double parsed = 0.0;
    const auto res = std::from_chars(text, end, parsed,
                                     hex ? std::chars_format::hex : std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range)
    {
        // Too large or too small for a double: "%lf" gives infinity or zero.
        const char* e = std::find_if(
            text, res.ptr,
            [exponent](char c) { return std::tolower(static_cast<unsigned char>(c)) == exponent; });
        const bool underflow = e != res.ptr && e + 1 != res.ptr && e[1] == '-';
        parsed = underflow ? 0.0 : std::numeric_limits<double>::infinity();
    }
    else if (res.ec != std::errc())
    {
        return false;
    }
    val = negative ? -parsed : parsed;
    return true;
}

double ParamText::read_clamped(const char* text, bool& ok, double lo, double hi) noexcept
{
    double val = 0.0;
    if (!read_number(text, val) || std::isnan(val))
    {
        return lo;
    }
    ok = true;
    return std::clamp(val, lo, hi);
}
