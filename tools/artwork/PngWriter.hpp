#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace artwork
{

// Writes an 8-bit RGB PNG file from rows of 0xXXRRGGBB pixels; false when the file cannot be
// written.
bool write_png(const std::string& path, int width, int height,
               const std::vector<std::uint32_t>& pixels);

} // namespace artwork
