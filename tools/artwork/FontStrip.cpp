#include <array>

#include "Art.hpp"

namespace artwork
{

namespace
{

// Windows-1252 bytes 0x80 to 0x9F; 0 where the code page leaves a byte unassigned.
constexpr std::array<char32_t, 32> cp1252_high = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// 0 for control bytes and unassigned ones.
char32_t code_point(int byte)
{
    if (byte < 0x20 || byte == 0x7F)
    {
        return 0;
    }
    if (byte >= 0x80 && byte < 0xA0)
    {
        return cp1252_high[static_cast<std::size_t>(byte - 0x80)];
    }
    return static_cast<char32_t>(byte);
}

constexpr int rows = 12;
constexpr int baseline = 9;

} // namespace

FontStrip draw_font_strip(Typeface& face)
{
    face.set_size(10.0f);
    struct Cell
    {
        int width;
        Typeface::Glyph glyph;
    };
    std::vector<Cell> cells;
    int width = 0;
    for (int b = 0; b < 256; ++b)
    {
        const char32_t code = code_point(b);
        Cell cell{1, {}};
        if (code != 0)
        {
            cell.glyph = face.glyph(code);
            cell.width = std::max(1, cell.glyph.advance);
        }
        width += cell.width;
        cells.push_back(std::move(cell));
    }
    FontStrip strip;
    strip.width = width;
    strip.height = rows + 1;
    strip.coverage.assign(static_cast<std::size_t>(strip.width * strip.height), 0);
    int pen = 0;
    for (std::size_t b = 0; b < cells.size(); ++b)
    {
        const Cell& cell = cells[b];
        const auto& g = cell.glyph;
        // A glyph keeps to its own cell: ink beyond its advance would be cut off by the
        // neighbouring glyph's drawing anyway.
        for (int gy = 0; gy < g.rows; ++gy)
        {
            for (int gx = 0; gx < g.width; ++gx)
            {
                const int x = g.left + gx;
                const int y = baseline - g.top + gy;
                if (x < 0 || x >= cell.width || y < 0 || y >= rows)
                {
                    continue;
                }
                auto& v = strip.coverage[static_cast<std::size_t>(y * strip.width + pen + x)];
                v = std::max(v, g.coverage[static_cast<std::size_t>(gy * g.width + gx)]);
            }
        }
        const std::uint8_t marker = (b % 2 == 0) ? 0 : 255;
        for (int x = 0; x < cell.width; ++x)
        {
            strip.coverage[static_cast<std::size_t>(rows * strip.width + pen + x)] = marker;
        }
        pen += cell.width;
    }
    return strip;
}

} // namespace artwork
