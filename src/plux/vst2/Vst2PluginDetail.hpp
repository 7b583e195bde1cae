#pragma once

// Helpers of the plug-in object's host-facing operations.
#include <algorithm>
#include <cstring>
#include <string>

namespace plux::vst2_detail
{

// Copies text into a host's field of size bytes, terminating zero included.
inline void copy_text(char* dst, int size, const std::string& text)
{
    const std::size_t len = std::min(text.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(dst, text.data(), len);
    dst[len] = '\0';
}

// Values that reach the frame from outside are limited to the normalised range.
inline float clamp_nrm(float value)
{
    return std::clamp(value, 0.0f, 1.0f);
}

} // namespace plux::vst2_detail
