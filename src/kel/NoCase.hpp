#pragma once

#include <algorithm>
#include <string>
#include <string_view>

// Letter case ignored for ASCII letters only: names, extensions and host strings are ASCII, and
// the C library's idea of letters changes with the locale a host sets. Classic algorithms rather
// than ranges: the fuzz build's clang cannot use this standard library's ranges yet.
namespace kel
{

constexpr char to_lower_ascii(char c) noexcept
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string to_lower_ascii(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return to_lower_ascii(c); });
    return text;
}

inline bool equals_no_case(std::string_view a, std::string_view b) noexcept
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y) { return to_lower_ascii(x) == to_lower_ascii(y); });
}

inline bool contains_no_case(std::string_view text, std::string_view word) noexcept
{
    return std::search(text.begin(), text.end(), word.begin(), word.end(),
                       [](char x, char y)
                       { return to_lower_ascii(x) == to_lower_ascii(y); }) != text.end() ||
           word.empty();
}

} // namespace kel
