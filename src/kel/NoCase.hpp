#pragma once

#include <algorithm>
#include <string>
#include <string_view>

// Letter case ignored for ASCII letters only: names, extensions and host strings are ASCII, and
// the C library's idea of letters changes with the locale a host sets.
namespace kel
{

constexpr char to_lower_ascii(char c) noexcept
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string to_lower_ascii(std::string text)
{
    std::ranges::transform(text, text.begin(), [](char c) { return to_lower_ascii(c); });
    return text;
}

inline bool equals_no_case(std::string_view a, std::string_view b) noexcept
{
    const auto lower = [](char c) { return to_lower_ascii(c); };
    return std::ranges::equal(a, b, {}, lower, lower);
}

inline bool contains_no_case(std::string_view text, std::string_view word) noexcept
{
    const auto same = [](char x, char y) { return to_lower_ascii(x) == to_lower_ascii(y); };
    return !std::ranges::search(text, word, same).empty() || word.empty();
}

} // namespace kel
