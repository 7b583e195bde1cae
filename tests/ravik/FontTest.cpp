#include <functional>
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

// A strip of glyphs, one row of pixels each plus the marker row: widths gives each glyph's width
// and ink the strip columns that are fully drawn.
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
    {
        width += w;
    }
    ApicBytes a;
    a.kind = multicolour ? 1 : 2;
    a.bits = multicolour ? 8 : 0;
    a.width = width;
    a.height = rows + 1;
    if (multicolour)
    {
        a.palette = {0x00000000u, 0x00FFFFFFu, 0x00000001u};
    }
    for (int row = 0; row < rows; ++row)
    {
        for (int x = 0; x < width; ++x)
        {
            const bool inked = std::find(s.ink.begin(), s.ink.end(), x) != s.ink.end();
            if (multicolour)
            {
                a.pixels.push_back(inked ? 1 : 0);
                a.pixels.push_back(inked ? 0 : 255);
            }
            else
            {
                a.pixels.push_back(inked ? 255 : 0);
            }
        }
    }
    std::uint8_t marker = 0;
    for (const int w : s.widths)
    {
        for (int i = 0; i < w; ++i)
        {
            a.pixels.push_back(multicolour ? static_cast<std::uint8_t>(marker == 0 ? 0 : 2)
                                           : static_cast<std::uint8_t>(marker == 0 ? 0 : 255));
            if (multicolour)
            {
                a.pixels.push_back(0);
            }
        }
        marker ^= 1;
    }
    LoadedFont f{a.bytes(), nullptr};
    f.font = ravik::FontFactory::create_from_data(f.bytes);
    return f;
}

// The drawn columns of row 0 as a string: '#' changed, '.' untouched.
std::string row0(const RenderingBufferMemory& b)
{
    std::string s;
    for (int x = 0; x < b.get_width(); ++x)
    {
        s += b.get_pixel(x, 0) != 0 ? '#' : '.';
    }
    return s;
}

class FontLayout : public testing::TestWithParam<bool>
{
};

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

// 256 glyphs of width 1; only glyph 255 ('\xFF') and glyph 'A' have ink.
Strip wide_strip(int glyphs)
{
    return {std::vector<int>(static_cast<std::size_t>(glyphs), 1), {65, glyphs - 1}};
}

TEST_P(FontLayout, Byte255DrawsTheLastOfAFullFont)
{
    const auto f = make_font(GetParam(), wide_strip(256));
    RenderingBufferMemory buffer(4, 1, 0);
    f.font->draw_text({0, 0, 4, 1}, buffer,
                      Text{"\xFF"
                           "B"
                           "A",
                           4, 1, Text::left, 0x00FFFFFF});
    EXPECT_EQ(row0(buffer), "#.#.");
}

TEST_P(FontLayout, Byte255IsSkippedWithoutAdvanceByAShortFont)
{
    const auto f = make_font(GetParam(), wide_strip(100));
    RenderingBufferMemory buffer(4, 1, 0);
    f.font->draw_text({0, 0, 4, 1}, buffer,
                      Text{"\xFF"
                           "A",
                           4, 1, Text::left, 0x00FFFFFF});
    EXPECT_EQ(row0(buffer), "#...");
}

struct AlignCase
{
    int align;
    const char* drawn;
};

class FontAlign : public testing::TestWithParam<std::tuple<bool, AlignCase>>
{
};

// Glyph 0 is 7 pixels wide, inked at both ends.
TEST_P(FontAlign, PlacesTheTextInItsBox)
{
    const auto [multicolour, c] = GetParam();
    const auto f = make_font(multicolour, {{7}, {0, 6}});
    RenderingBufferMemory buffer(10, 1, 0);
    f.font->draw_text({0, 0, 10, 1}, buffer,
                      Text{std::string(1, '\0'), 10, 1, c.align, 0x00FFFFFF});
    EXPECT_EQ(row0(buffer), c.drawn);
}

INSTANTIATE_TEST_SUITE_P(BothFonts, FontAlign,
                         testing::Combine(testing::Bool(),
                                          testing::Values(AlignCase{Text::left, "#.....#..."},
                                                          AlignCase{Text::centre, ".#.....#.."},
                                                          AlignCase{Text::right, "...#.....#"})));

TEST_P(FontLayout, ClipCutsGlyphsAndMovesThemIntoTheBuffer)
{
    // Two glyphs of 3, inked everywhere.
    const auto f = make_font(GetParam(), {{3, 3}, {0, 1, 2, 3, 4, 5}});
    RenderingBufferMemory buffer(6, 1, 0);
    // Box columns 2 to 4 land on buffer columns 0 to 2.
    f.font->draw_text({2, 0, 5, 1}, buffer,
                      Text{std::string("\0\1", 2), 6, 1, Text::left, 0x00FFFFFF});
    EXPECT_EQ(row0(buffer), "###...");
}

TEST_P(FontLayout, NothingLeavesTheBox)
{
    const auto f = make_font(GetParam(), {{3, 3}, {0, 1, 2, 3, 4, 5}}, 3);
    RenderingBufferMemory buffer(8, 3, 0);
    // A box of 4 x 2: the text is 6 wide and the line 3 high.
    f.font->draw_text({-1, 0, 7, 3}, buffer,
                      Text{std::string("\0\1", 2), 4, 2, Text::left, 0x00FFFFFF});
    EXPECT_EQ(row0(buffer), ".####...");
    EXPECT_NE(buffer.get_pixel(1, 1), 0u);
    EXPECT_EQ(buffer.get_pixel(1, 2), 0u) << "the box is 2 rows high";
}

INSTANTIATE_TEST_SUITE_P(BothFonts, FontLayout, testing::Bool());

TEST(UnicolorFont, BlendsTheColourByCoverage)
{
    ApicBytes a;
    a.kind = 2;
    a.bits = 0;
    a.width = 2;
    a.height = 2;
    a.pixels = {128, 255, 0, 0};
    const auto bytes = a.bytes();
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
    ApicBytes a;
    a.kind = 1;
    a.bits = 8;
    a.width = 3;
    a.height = 2;
    a.palette = {0x000000FFu, 0x0000FF00u};
    a.pixels = {0, 0, 1, 127, 1, 255, 0, 0, 0, 0, 0, 0};
    const auto bytes = a.bytes();
    const auto font = ravik::FontFactory::create_from_data(bytes);
    ASSERT_NE(font, nullptr);
    RenderingBufferMemory buffer(3, 1, 0);
    font->draw_glyph({0, 0, 3, 1}, {0, 0}, buffer, 0x00FFFFFFu);
    EXPECT_EQ(buffer.get_pixel(0, 0), 0x000000FEu) << "second byte 0: palette colour";
    EXPECT_EQ(buffer.get_pixel(1, 0), 0x00007F00u) << "127: half";
    EXPECT_EQ(buffer.get_pixel(2, 0), 0u) << "255: nothing";
}

TEST(FontInterface, GlyphDrawingStaysInTheStripAndBuffer)
{
    const auto f = make_font(false, {{2, 2}, {0, 1, 2, 3}});
    RenderingBufferMemory buffer(3, 2, 0);
    // Buffer pixel (x, y) shows strip pixel (x - 1, y); row 1 is the marker row, not inked.
    f.font->draw_glyph({-5, -5, 50, 50}, {-4, -5}, buffer, 0x00FFFFFF);
    EXPECT_EQ(row0(buffer), ".##");
    EXPECT_EQ(buffer.get_pixel(1, 1) | buffer.get_pixel(2, 1), 0u);
    f.font->draw_glyph({2, 0, 4, 1}, {2, 1}, buffer, 0x00FFFFFF);
    EXPECT_NE(buffer.get_pixel(2, 1), 0u);
}

} // namespace
