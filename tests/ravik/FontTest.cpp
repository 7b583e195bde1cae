#include <gtest/gtest.h>

#include "ravik/ApicBytes.hpp"
#include "ravik/FontFactory.hpp"
#include "ravik/FontInterface.hpp"
#include "ravik/RenderingBufferMemory.hpp"

namespace
{

using ravik::Pixel;
using ravik::RenderingBufferMemory;
using ravik::Text;

// A strip of glyphs plus the marker row: widths gives each glyph's width and ink the strip columns
// that are fully drawn in every row.
struct Strip
{
    std::vector<int> widths;
    std::vector<int> ink;
};

struct LoadedFont
{
    std::vector<std::uint8_t> bytes;
    std::unique_ptr<ravik::FontInterface> font;
};

// Unicolour fonts draw ink with coverage 255; multicolour fonts with palette entry 1 (white)
// and transparency 0, the rest fully transparent.
LoadedFont make_font(bool multicolour, const Strip& s, int rows = 1)
{
    int width = 0;
    for (const int w : s.widths)
        width += w;
    ApicBytes a{.kind = multicolour ? 1u : 2u,
                .bits = multicolour ? 8u : 0u,
                .width = width,
                .height = rows + 1};
    if (multicolour)
        a.palette = {0x00000000u, 0x00FFFFFFu, 0x00000001u};
    for (int i = 0; i < rows * width; ++i)
    {
        const bool inked = std::find(s.ink.begin(), s.ink.end(), i % width) != s.ink.end();
        if (multicolour)
            a.pixels.insert(a.pixels.end(),
                            {std::uint8_t(inked ? 1 : 0), std::uint8_t(inked ? 0 : 255)});
        else
            a.pixels.push_back(inked ? 255 : 0);
    }
    for (std::size_t glyph = 0; glyph < s.widths.size(); ++glyph)
    {
        for (int i = 0; i < s.widths[glyph]; ++i)
        {
            a.pixels.push_back(glyph % 2 == 0 ? 0 : multicolour ? 2 : 255);
            if (multicolour)
                a.pixels.push_back(0);
        }
    }
    LoadedFont f{a.bytes(), nullptr};
    f.font = ravik::FontFactory::create_from_data(f.bytes);
    return f;
}

// The buffer's rows: '#' changed, '.' untouched.
std::vector<std::string> drawn(const RenderingBufferMemory& b)
{
    std::vector<std::string> rows(static_cast<std::size_t>(b.get_height()));
    for (int y = 0; y < b.get_height(); ++y)
    {
        for (int x = 0; x < b.get_width(); ++x)
            rows[static_cast<std::size_t>(y)] += b.get_pixel(x, y) != 0 ? '#' : '.';
    }
    return rows;
}

using FontLayout = testing::TestWithParam<bool>;

TEST_P(FontLayout, MarkerRunsMakeTheGlyphTable)
{
    const auto f = make_font(GetParam(), {{2, 3, 1, 1}, {}});
    ASSERT_NE(f.font, nullptr);
    ASSERT_EQ(f.font->get_nbr_glyphs(), 4);
    EXPECT_EQ(f.font->get_glyph(1).width, 3);
    EXPECT_EQ(f.font->get_glyph(1).offset, 2);
    EXPECT_EQ(f.font->get_glyph(3).offset, 6);
    EXPECT_EQ(f.font->get_line_height(), 1);
    EXPECT_EQ(f.font->text_width(std::string("\x01\x03\x09\x00", 4)), 6)
        << "3 + 1 + nothing for a byte without glyph + 2";
}

TEST_P(FontLayout, GlyphDrawingStaysInTheStripAndBuffer)
{
    const auto f = make_font(GetParam(), {{2, 2}, {0, 1, 2, 3}});
    RenderingBufferMemory buffer(3, 2, 0);
    // Buffer pixel (x, y) shows strip pixel (x - 1, y); row 1 is the marker row, not inked.
    f.font->draw_glyph({-5, -5, 50, 50}, {-4, -5}, buffer, 0x00FFFFFF);
    EXPECT_EQ(drawn(buffer), (std::vector<std::string>{".##", "..."}));
    f.font->draw_glyph({2, 0, 4, 1}, {2, 1}, buffer, 0x00FFFFFF);
    EXPECT_EQ(drawn(buffer), (std::vector<std::string>{".##", "..#"}));
}

INSTANTIATE_TEST_SUITE_P(BothFonts, FontLayout, testing::Bool());

struct TextCase
{
    const char* name;
    Strip strip;
    int rows;
    ravik::Point buffer;
    ravik::Rect clip;
    std::string text;
    ravik::Point box;
    int align;
    std::vector<std::string> drawn;
};

using TextLayout = testing::TestWithParam<std::tuple<bool, TextCase>>;

TEST_P(TextLayout, PlacesTheTextInItsBoxAndTheClip)
{
    const auto& [multicolour, c] = GetParam();
    const auto f = make_font(multicolour, c.strip, c.rows);
    ASSERT_NE(f.font, nullptr);
    RenderingBufferMemory buffer(c.buffer.x, c.buffer.y, 0);
    EXPECT_EQ(f.font->draw_text(c.clip, buffer, Text{c.text, c.box.x, c.box.y, c.align, 0xFFFFFF}),
              0);
    EXPECT_EQ(drawn(buffer), c.drawn);
}

// Glyph 0 is 7 pixels wide, inked at both ends.
const Strip wide_glyph = {{7}, {0, 6}};
// Two glyphs of 3, inked everywhere.
const Strip two_glyphs = {{3, 3}, {0, 1, 2, 3, 4, 5}};

// Glyphs of width 1; only glyph 255 ('\xFF') of a full font and glyph 'A' have ink.
Strip ones(int glyphs)
{
    return {std::vector<int>(static_cast<std::size_t>(glyphs), 1), {65, 255}};
}

INSTANTIATE_TEST_SUITE_P(
    BothFonts, TextLayout,
    testing::Combine(
        testing::Bool(),
        testing::Values(TextCase("Left", wide_glyph, 1, {10, 1}, {0, 0, 10, 1}, {'\0'}, {10, 1},
                                 Text::left, {"#.....#..."}),
                        TextCase("Centre", wide_glyph, 1, {10, 1}, {0, 0, 10, 1}, {'\0'}, {10, 1},
                                 Text::centre, {".#.....#.."}),
                        TextCase("Right", wide_glyph, 1, {10, 1}, {0, 0, 10, 1}, {'\0'},
                                 {10, 1}, Text::right, {"...#.....#"}),
                        TextCase("Byte255DrawsTheLastOfAFullFont", ones(256), 1, {4, 1},
                                 {0, 0, 4, 1}, {'\xFF', 'B', 'A'}, {4, 1}, Text::left, {"#.#."}),
                        TextCase("Byte255IsSkippedWithoutAdvanceByAShortFont", ones(100), 1, {4, 1},
                                 {0, 0, 4, 1}, {'\xFF', 'A'}, {4, 1}, Text::left, {"#..."}),
                        // Box columns 2 to 4 land on buffer columns 0 to 2.
                        TextCase("ClipCutsGlyphsAndMovesThemIntoTheBuffer", two_glyphs, 1, {6, 1},
                                 {2, 0, 5, 1}, {'\0', '\1'}, {6, 1}, Text::left, {"###..."}),
                        // A box of 4 x 2: the text is 6 wide and the line 3 high.
                        TextCase("NothingLeavesTheBox", two_glyphs, 3, {8, 3}, {-1, 0, 7, 3},
                                 {'\0', '\1'}, {4, 2}, Text::left,
                                 {".####...", ".####...", "........"}))),
    [](const auto& info) {
        return std::string(std::get<0>(info.param) ? "Multi" : "Uni") +
               std::get<1>(info.param).name;
    });

TEST(UnicolorFont, BlendsTheColourByCoverage)
{
    const auto bytes =
        ApicBytes{.kind = 2, .bits = 0, .width = 2, .height = 2, .pixels = {128, 255, 0, 0}}
            .bytes();
    const auto font = ravik::FontFactory::create_from_data(bytes);
    ASSERT_NE(font, nullptr);
    RenderingBufferMemory buffer(2, 1, 0x44FFFFFFu);
    font->draw_glyph({0, 0, 2, 1}, {0, 0}, buffer, 0x231E16u);
    // c + ((t - c) v >> 8) with c = 255 and t = 0x16, 0x1E, 0x23.
    EXPECT_EQ(buffer.get_pixel(0, 0), 0x44918E8Au);
    EXPECT_EQ(buffer.get_pixel(1, 0), 0x44231E16u) << "full coverage on white: the colour";
}

TEST(MulticolorFont, BlendsThePaletteByInverseSecondByte)
{
    const ApicBytes a{.kind = 1,
                      .bits = 8,
                      .width = 3,
                      .height = 2,
                      .palette = {0x000000FFu, 0x0000FF00u},
                      .pixels = {0, 0, 1, 127, 1, 255, 0, 0, 0, 0, 0, 0}};
    const auto bytes = a.bytes();
    const auto font = ravik::FontFactory::create_from_data(bytes);
    ASSERT_NE(font, nullptr);
    RenderingBufferMemory buffer(3, 1, 0);
    font->draw_glyph({0, 0, 3, 1}, {0, 0}, buffer, 0x00FFFFFFu);
    EXPECT_EQ(buffer.get_pixel(0, 0), 0x000000FEu) << "second byte 0: palette colour";
    EXPECT_EQ(buffer.get_pixel(1, 0), 0x00007F00u) << "127: half";
    EXPECT_EQ(buffer.get_pixel(2, 0), 0u) << "255: nothing";
}

} // namespace
