#pragma once

// Helpers of the plug-in object's host-facing operations.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>

namespace plux::vst2_detail
{

// Copies text into a host's field of size bytes, terminating zero included.
inline void copy_text(char* dst, int size, const std::string& text)
{
    const std::size_t len = std::min(text.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(dst, text.data(), len);
    dst[len] = '\0';
}

inline bool equals_no_case(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y)
                      {
                          return std::tolower(static_cast<unsigned char>(x)) ==
                                 std::tolower(static_cast<unsigned char>(y));
                      });
}

// floor(x + 0.5), the effect's rounding, limited to the int range.
inline int round_int(double x)
{
    const double r = std::floor(x + 0.5);
    return r >= 2147483647.0    ? 2147483647
           : r <= -2147483648.0 ? -2147483647 - 1
                                : static_cast<int>(r);
}

// Values that reach the frame from outside are limited to the normalised range.
inline float clamp_nrm(float value)
{
    return std::clamp(value, 0.0f, 1.0f);
}

} // namespace plux::vst2_detail
