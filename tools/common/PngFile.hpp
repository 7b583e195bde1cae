#pragma once

#include <cstdint>
#include <string>

namespace tools
{

// Writes an 8-bit RGB PNG file from top-down rows of width pixels in the toolkit's byte order
// (blue, green, red, a fourth byte that is ignored). False when the file cannot be written.
bool write_png(const std::string& path, int width, int height, const std::uint32_t* pixels);

} // namespace tools
