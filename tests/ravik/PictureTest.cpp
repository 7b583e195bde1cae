#include "ravik/Picture.hpp"

#include <gtest/gtest.h>
#include <numbers>

#include "ravik/ApicBytes.hpp"
#include "ravik/OutlineRect.hpp"
#include "ravik/RenderingBufferMemory.hpp"

using ravik::Picture;
using ravik::Pixel;
using ravik::Rect;
using ravik::RenderingBufferMemory;

namespace
{

// 4 x 3, pixel (x, y) = 0xFF0000yx + 0x11.
std::vector<Pixel> numbered()
{
    std::vector<Pixel> colours;
    for (int i = 0; i < 12; ++i)
        colours.push_back(0xFF000011u + static_cast<Pixel>(i / 4 * 16 + i % 4));
    return colours;
}

TEST(Picture, OriginMovesTheBoxAndCropStaysInThePicture)
{
    const auto loaded = load_picture(make_apic(Decoder::direct24, 4, 3, numbered()));
    Picture p(loaded.pic.get());
    EXPECT_EQ(p.get_bounding_box(), (Rect{0, 0, 4, 3}));
    EXPECT_EQ(p.get_crop(), (Rect{0, 0, 4, 3}));

    p.set_origin({1, 2});
    EXPECT_EQ(p.get_bounding_box(), (Rect{-1, -2, 3, 1}));
    EXPECT_EQ(p.get_origin(), (ravik::Point{1, 2}));
    p.set_origin({9, -15});
    EXPECT_EQ(p.get_origin(), (ravik::Point{9, -15})) << "an origin outside the picture";

    p.set_crop({-5, -5, 100, 100});
    EXPECT_EQ(p.get_crop(), (Rect{0, 0, 4, 3})) << "limited to the picture";
    p.set_crop({2, 0, 2, 3});
    EXPECT_EQ(p.get_crop(), (Rect{2, 0, 2, 3})) << "zero width stays";
    p.set_crop({3, 1, 1, 2});
    EXPECT_EQ(p.get_crop(), (Rect{})) << "inside out becomes empty";
    p.set_crop({1, 5, 3, 9});
    EXPECT_EQ(p.get_crop(), (Rect{})) << "below the picture: y1 5 beyond y2 3";

    p.set_pic_data(loaded.pic.get());
    EXPECT_EQ(p.get_crop(), (Rect{0, 0, 4, 3})) << "new data resets crop";

    // Inside means in the box and the crop.
    EXPECT_FALSE(Picture().is_inside({0, 0})) << "without data";
    p.set_origin({1, 1});
    EXPECT_TRUE(p.is_inside({-1, -1}));
    EXPECT_TRUE(p.is_inside({2, 1}));
    EXPECT_FALSE(p.is_inside({3, 1}));
    p.set_crop({1, 0, 4, 3});
    EXPECT_FALSE(p.is_inside({-1, 0})) << "left of the crop";
    EXPECT_TRUE(p.is_inside({0, 0}));
}

// The origin lands on buffer pixel (3, 3); columns 1 to 3 and rows 0 and 1 are drawn.
TEST(Picture, DrawsAroundItsOriginWithItsCrop)
{
    for (const Decoder decoder : all_decoders)
    {
        SCOPED_TRACE(decoder_name(decoder));
        const auto loaded = load_picture(make_apic(decoder, 4, 3, numbered()));
        Picture p(loaded.pic.get());
        p.set_origin({1, 1});
        p.set_crop({1, 0, 4, 2});
        RenderingBufferMemory buffer(8, 8, 0);
        EXPECT_EQ(p.draw({-3, -3, 5, 5}, buffer), 0);
        expect_only(buffer, 0,
                    {{3, 2, 0xFF000012u},
                     {4, 2, 0xFF000013u},
                     {5, 2, 0xFF000014u},
                     {3, 3, 0xFF000022u},
                     {4, 3, 0xFF000023u},
                     {5, 3, 0xFF000024u}});
    }
}

TEST(Picture, NearWholePositionsTakeTheIntegerPath)
{
    // A fully opaque pixel replaces all four bytes on the integer path; the bilinear one blends
    // blue, green and red (to 254) and keeps the fourth byte.
    const auto loaded = load_picture(make_apic(Decoder::alpha24, 1, 1, {0x00FFFFFFu}));
    const Picture p(loaded.pic.get());
    RenderingBufferMemory buffer(16, 4, 0);
    p.draw_at(-10.0000000001, -2.0, {0, 0, 16, 4}, buffer);
    p.draw_at(-12.0001, -2.0, {0, 0, 16, 4}, buffer);
    p.draw_at(0.0, -1e-12, {0, 0, 16, 4}, buffer);
    p.draw_rotated(-5.0, -1.0, {0, 0, 16, 4}, 1e-10, buffer);
    expect_only(
        buffer, 0,
        {{10, 2, 0xFFFFFFFFu}, {12, 2, 0x00FEFEFEu}, {0, 0, 0xFFFFFFFFu}, {5, 1, 0xFFFFFFFFu}});
}

TEST(Picture, TurnsAroundItsOrigin)
{
    // Red, green and blue with the origin on green, at buffer pixel (5, 5).
    for (const Decoder decoder : alpha_decoders)
    {
        SCOPED_TRACE(decoder_name(decoder));
        const auto loaded =
            load_picture(make_apic(decoder, 3, 1, {0x00FF0000u, 0x0000FF00u, 0x000000FFu}));
        Picture p(loaded.pic.get());
        p.set_origin({1, 0});
        RenderingBufferMemory buffer(10, 10, 0);
        EXPECT_EQ(p.draw_rotated(-5.0, -5.0, {0, 0, 10, 10}, -std::numbers::pi / 2, buffer), 0);
        expect_only(buffer, 0, {{5, 4, 0x00FE0000u}, {5, 5, 0x0000FE00u}, {5, 6, 0x000000FEu}});
    }
}

TEST(Picture, OpaqueOnesDrawOnlyUnrotated)
{
    const auto loaded = load_picture(make_apic(Decoder::pal8, 4, 3, numbered()));
    Picture p(loaded.pic.get());
    p.set_crop({3, 2, 4, 3});
    RenderingBufferMemory buffer(4, 3, 0);
    p.draw_rotated(0.0, 0.0, {0, 0, 4, 3}, 0.25, buffer);
    expect_only(buffer, 0, {});
    p.draw_rotated(0.0, 0.0, {0, 0, 4, 3}, 0.0, buffer);
    expect_only(buffer, 0, {{3, 2, 0xFF000034u}});
}

TEST(Picture, WithoutDataDrawsNothing)
{
    const Picture p;
    RenderingBufferMemory buffer(2, 2, 9);
    EXPECT_EQ(p.draw({0, 0, 2, 2}, buffer), 0);
    EXPECT_EQ(p.draw_at(0.5, 0.5, {0, 0, 2, 2}, buffer), 0);
    EXPECT_EQ(p.draw_rotated(0.0, 0.0, {0, 0, 2, 2}, 1.0, buffer), 0);
    expect_only(buffer, 9, {});
}

} // namespace

TEST(OutlineRect, DrawsTheFourSidesCutToTheBuffer)
{
    RenderingBufferMemory buffer(6, 5, 0);
    ravik::OutlineRect red(0xFFFF0000u);
    auto drawn = [&buffer]
    {
        std::string rows;
        for (int i = 0; i < 30; ++i)
            rows += std::string(buffer.get_pixel(i % 6, i / 6) == 0xFFFF0000u ? "#" : ".") +
                    (i % 6 == 5 ? "|" : "");
        buffer.fill(0);
        return rows;
    };
    red.draw(buffer, {1, 1, 4, 4});
    EXPECT_EQ(drawn(), "......|.###..|.#.#..|.###..|......|");
    red.draw(buffer, {3, -2, 9, 2});
    EXPECT_EQ(drawn(), "...#..|...###|......|......|......|")
        << "the left column and the bottom row; the right column lies beyond the buffer";
    red.draw(buffer, {2, 2, 2, 4});
    red.draw(buffer, {-9, -9, -1, -1});
    EXPECT_EQ(drawn(), "......|......|......|......|......|") << "empty or outside draws nothing";
}

TEST(RenderingBufferMemory, BlitCopiesTheTopLeftPartIntoTheTarget)
{
    RenderingBufferMemory window(5, 4, 0);
    RenderingBufferMemory tile(3, 3, 0);
    tile.set_target(&window);
    for (int i = 0; i < 9; ++i)
        tile.set_pixel(i % 3, i / 3, static_cast<Pixel>(i + 1));
    tile.blit({3, 2}, {2, 3});
    EXPECT_EQ(window.get_pixel(3, 2), 1u);
    EXPECT_EQ(window.get_pixel(4, 3), 5u);
    EXPECT_EQ(window.get_pixel(2, 2), 0u);
    tile.blit({-1, -1}, {9, 9});
    EXPECT_EQ(window.get_pixel(0, 0), 5u) << "cut at the target's left and top";
    EXPECT_EQ(window.get_pixel(1, 1), 9u);
    EXPECT_EQ(window.get_pixel(2, 0), 0u) << "only the tile's own pixels";
}
