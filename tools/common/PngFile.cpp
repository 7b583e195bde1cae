#include "common/PngFile.hpp"

#include <png.h>
#include <vector>

namespace tools
{

bool write_png(const std::string& path, int width, int height, const std::uint32_t* pixels)
{
    if (width <= 0 || height <= 0 || pixels == nullptr)
    {
        return false;
    }
    std::vector<png_byte> rgb(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
                              3);
    for (std::size_t i = 0; i < rgb.size() / 3; ++i)
    {
        const std::uint32_t p = pixels[i];
        rgb[3 * i] = static_cast<png_byte>(p >> 16);
        rgb[3 * i + 1] = static_cast<png_byte>(p >> 8);
        rgb[3 * i + 2] = static_cast<png_byte>(p);
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    const bool ok = png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return ok;
}

} // namespace tools
