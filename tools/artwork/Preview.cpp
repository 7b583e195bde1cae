#include "Preview.hpp"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <memory>
#include <numbers>

#include "Layout.hpp"
#include "common/PngFile.hpp"
#include "ravik/FontFactory.hpp"
#include "ravik/PicDataFactory.hpp"
#include "ravik/Picture.hpp"
#include "ravik/RenderingBufferMemory.hpp"
#include "ravik/Text.hpp"

namespace artwork
{

namespace
{

using layout::Pt;
using ravik::Rect;
using ravik::RenderingBufferInterface;

struct Loaded
{
    std::map<std::string, std::unique_ptr<ravik::PicDataInterface>> pictures;
    std::unique_ptr<ravik::FontInterface> font;
};

bool load(const Resources& resources, Loaded& out)
{
    for (const auto& info : layout::pictures)
    {
        const std::string name(info.name);
        const auto it = resources.find(name);
        auto pic =
            it != resources.end() ? ravik::PicDataFactory::create_from_data(it->second) : nullptr;
        if (!pic)
        {
            std::cerr << "morvane_artwork: the picture " << name << " does not load\n";
            return false;
        }
        out.pictures[name] = std::move(pic);
    }
    const auto it = resources.find("font_02");
    out.font = it != resources.end() ? ravik::FontFactory::create_from_data(it->second) : nullptr;
    if (!out.font)
    {
        std::cerr << "morvane_artwork: the font font_02 does not load\n";
        return false;
    }
    return true;
}

// Every picture on a dark checker that shows its transparency, its anchor marked by a red cross
// and its name and size beneath, written with the value font.
bool write_sheet(const Loaded& loaded, const std::string& path)
{
    constexpr int sheet_width = 760;
    constexpr int margin = 10;
    struct Cell
    {
        std::string name;
        Rect box; // picture and anchor, picture coordinates
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
        std::string label;
    };
    std::vector<Cell> cells;
    for (const auto& info : layout::pictures)
    {
        const auto& pic = *loaded.pictures.at(std::string(info.name));
        Cell c;
        c.name = info.name;
        c.box = {0, 0, pic.get_width(), pic.get_height()};
        c.box.x1 = std::min(c.box.x1, info.anchor.x - 4);
        c.box.y1 = std::min(c.box.y1, info.anchor.y - 4);
        c.box.x2 = std::max(c.box.x2, info.anchor.x + 5);
        c.box.y2 = std::max(c.box.y2, info.anchor.y + 5);
        c.width = c.box.x2 - c.box.x1;
        c.height = c.box.y2 - c.box.y1 + 14;
        cells.push_back(c);
    }
    for (auto& c : cells)
    {
        const auto& pic = *loaded.pictures.at(c.name);
        c.label =
            c.name + " " + std::to_string(pic.get_width()) + "x" + std::to_string(pic.get_height());
        c.width = std::max(c.width, loaded.font->text_width(c.label));
    }
    int x = margin;
    int y = margin;
    int row_height = 0;
    for (auto& c : cells)
    {
        if (x + c.width > sheet_width - margin)
        {
            x = margin;
            y += row_height + margin;
            row_height = 0;
        }
        c.x = x;
        c.y = y;
        x += c.width + margin;
        row_height = std::max(row_height, c.height);
    }
    const int font_y = y + row_height + 2 * margin;
    const int height = font_y + 5 * 16 + margin;
    ravik::RenderingBufferMemory sheet(sheet_width, height, 0xFF1A1816u);
    auto label = [&](const std::string& s, int lx, int ly, std::uint32_t colour)
    {
        ravik::Text t{s, sheet_width - lx, 12, ravik::Text::left, colour};
        loaded.font->draw_text({-lx, -ly, sheet_width - lx, height - ly}, sheet, t);
    };
    for (const auto& c : cells)
    {
        const auto& pic = *loaded.pictures.at(c.name);
        const int ox = c.x - c.box.x1;
        const int oy = c.y - c.box.y1;
        for (int py = c.box.y1; py < c.box.y2; ++py)
        {
            for (int px = c.box.x1; px < c.box.x2; ++px)
            {
                const bool dark = ((px >> 2) + (py >> 2)) % 2 == 0;
                sheet.set_pixel(px + ox, py + oy, dark ? 0xFF2A2724u : 0xFF36322Eu);
            }
        }
        pic.draw({-ox, -oy, sheet_width - ox, height - oy}, sheet,
                 {0, 0, pic.get_width(), pic.get_height()});
        const Pt a = layout::anchor_of(c.name);
        for (int d = 2; d <= 4; ++d)
        {
            for (const auto& [dx, dy] : {std::pair{d, 0}, {-d, 0}, {0, d}, {0, -d}})
            {
                sheet.set_pixel(a.x + ox + dx, a.y + oy + dy, 0xFFFF3030u);
            }
        }
        label(c.label, c.x, c.y + c.height - 12, 0xDDD2BC);
    }
    std::string ascii;
    for (int b = 0x20; b < 0x7F; ++b)
    {
        ascii += static_cast<char>(b);
    }
    std::string high;
    for (int b = 0xA0; b <= 0xFF; ++b)
    {
        high += static_cast<char>(b);
    }
    label("font_02: " + ascii.substr(0, 48), margin, font_y, 0xDDD2BC);
    label(ascii.substr(48), margin, font_y + 16, 0xDDD2BC);
    label(high, margin, font_y + 32, 0xDDD2BC);
    for (int yy = font_y + 48; yy < font_y + 80; ++yy)
    {
        for (int xx = margin; xx < sheet_width - margin; ++xx)
        {
            sheet.set_pixel(xx, yy, 0xFFE3D5B0u);
        }
    }
    label("440.0   A 5   D#10   ### ERROR ###   Post   Pre   -50.0   0.500   1000", margin + 4,
          font_y + 50, layout::value_text_colour);
    label("\x80 \x85 \x93quoted\x94 caf\xE9 \xC5ngstr\xF6m na\xEFve \xFF", margin + 4, font_y + 66,
          layout::value_text_colour);

    // Twice the size, pixel for pixel, so that the smallest pictures can be seen.
    std::vector<std::uint32_t> big(static_cast<std::size_t>(4 * sheet_width * height));
    for (int yy = 0; yy < 2 * height; ++yy)
    {
        for (int xx = 0; xx < 2 * sheet_width; ++xx)
        {
            big[static_cast<std::size_t>(yy * 2 * sheet_width + xx)] =
                sheet.get_pixel(xx / 2, yy / 2);
        }
    }
    return tools::write_png(path, 2 * sheet_width, 2 * height, big.data());
}

} // namespace

bool write_contact_sheet(const Resources& resources, const std::string& sheet_png)
{
    Loaded loaded;
    if (!load(resources, loaded))
    {
        return false;
    }
    if (!write_sheet(loaded, sheet_png))
    {
        std::cerr << "morvane_artwork: cannot write the contact sheet\n";
        return false;
    }
    return true;
}

} // namespace artwork
