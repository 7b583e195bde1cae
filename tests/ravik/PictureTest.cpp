#include "ravik/Picture.hpp"

#include <gtest/gtest.h>
#include <numbers>

#include "ravik/ApicBytes.hpp"
#include "ravik/OutlineRect.hpp"
#include "ravik/RenderingBufferMemory.hpp"

namespace
{

using ravik::Picture;
using ravik::Pixel;
using ravik::Rect;
using ravik::RenderingBufferMemory;

// 4 x 3, pixel (x, y) = 0xFF0000yx + 0x11.
LoadedPicture numbered(Decoder d)
{
    std::vector<Pixel> colours;
    for (int y = 0; y < 3; ++y)
    {
        for (int x = 0; x < 4; ++x)
        {
            colours.push_back(0xFF000011u + static_cast<Pixel>(y * 16 + x));
        }
    }
    return load_picture(make_apic(d, 4, 3, colours));
}

TEST(Picture, OriginMovesTheBoxAndCropStaysInThePicture)
{
    const auto loaded = numbered(Decoder::direct24);
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
}

TEST(Picture, InsideMeansInTheBoxAndTheCrop)
{
    const auto loaded = numbered(Decoder::direct24);
    Picture p(loaded.pic.get());
    p.set_origin({1, 1});
    EXPECT_TRUE(p.is_inside({-1, -1}));
    EXPECT_TRUE(p.is_inside({2, 1}));
    EXPECT_FALSE(p.is_inside({3, 1}));
    p.set_crop({1, 0, 4, 3});
    EXPECT_FALSE(p.is_inside({-1, 0})) << "left of the crop";
    EXPECT_TRUE(p.is_inside({0, 0}));
}

TEST(Picture, DrawsAroundItsOriginWithItsCrop)
{
    const auto loaded = numbered(Decoder::alpha_pal8);
    Picture p(loaded.pic.get());
    p.set_origin({1, 1});
    p.set_crop({1, 0, 4, 2});
    RenderingBufferMemory buffer(8, 8, 0);
    // The origin lands on buffer pixel (3, 3).
    p.draw({-3, -3, 5, 5}, buffer);
    EXPECT_EQ(buffer.get_pixel(3, 3), 0xFF000022u) << "picture pixel (1, 1) at the origin";
    EXPECT_EQ(buffer.get_pixel(5, 2), 0xFF000014u) << "picture pixel (3, 0)";
    EXPECT_EQ(buffer.get_pixel(2, 3), 0u) << "picture pixel (0, 1) is cropped";
    EXPECT_EQ(buffer.get_pixel(3, 4), 0u) << "row 2 is cropped";
}

TEST(Picture, WholePositionsTakeTheIntegerPath)
{
    // A fully opaque pixel replaces all four bytes on the integer path; the bilinear one
    // blends blue, green and red (to 254) and keeps the fourth byte.
    const auto loaded = load_picture(make_apic(Decoder::alpha24, 1, 1, {0x00FFFFFFu}));
    Picture p(loaded.pic.get());
    RenderingBufferMemory buffer(16, 4, 0);
    p.draw_at(-10.0000000001, -2.0, {0, 0, 16, 4}, buffer);
    EXPECT_EQ(buffer.get_pixel(10, 2), 0xFFFFFFFFu);
    p.draw_at(-12.0001, -2.0, {0, 0, 16, 4}, buffer);
    EXPECT_EQ(buffer.get_pixel(12, 2), 0x00FEFEFEu) << "a ten-thousandth is not whole";
    p.draw_at(0.0, -1e-12, {0, 0, 16, 4}, buffer);
    EXPECT_EQ(buffer.get_pixel(0, 0), 0xFFFFFFFFu) << "near zero counts as zero";
    p.draw_rotated(-5.0, -1.0, {0, 0, 16, 4}, 1e-10, buffer);
    EXPECT_EQ(buffer.get_pixel(5, 1), 0xFFFFFFFFu) << "no angle: drawn unrotated";
}

TEST(Picture, RotatesAroundItsOrigin)
{
    // Red, green, blue with the origin on green.
    const auto loaded =
        load_picture(make_apic(Decoder::alpha24, 3, 1, {0x00FF0000u, 0x0000FF00u, 0x000000FFu}));
    Picture p(loaded.pic.get());
    p.set_origin({1, 0});
    RenderingBufferMemory buffer(10, 10, 0);
    // The origin at buffer pixel (5, 5): the buffer's top-left shows (-5, -5).
    p.draw_rotated(-5.0, -5.0, {0, 0, 10, 10}, -std::numbers::pi / 2, buffer);
    EXPECT_EQ(buffer.get_pixel(5, 5), 0x0000FE00u);
    EXPECT_EQ(buffer.get_pixel(5, 4), 0x00FE0000u) << "a quarter turn clockwise lifts red";
    EXPECT_EQ(buffer.get_pixel(5, 6), 0x000000FEu);
}

TEST(Picture, OpaquePicturesDrawOnlyUnrotated)
{
    const auto loaded = numbered(Decoder::pal8);
    Picture p(loaded.pic.get());
    RenderingBufferMemory buffer(4, 3, 0);
    p.draw_rotated(0.0, 0.0, {0, 0, 4, 3}, 0.25, buffer);
    EXPECT_EQ(buffer.get_pixel(0, 0), 0u);
    p.draw_rotated(0.0, 0.0, {0, 0, 4, 3}, 0.0, buffer);
    EXPECT_EQ(buffer.get_pixel(3, 2), 0xFF000034u);
}

TEST(Picture, WithoutDataDrawsNothing)
{
    Picture p;
    RenderingBufferMemory buffer(2, 2, 9);
    EXPECT_EQ(p.draw({0, 0, 2, 2}, buffer), 0);
    EXPECT_EQ(p.draw_at(0.5, 0.5, {0, 0, 2, 2}, buffer), 0);
    EXPECT_EQ(p.draw_rotated(0.0, 0.0, {0, 0, 2, 2}, 1.0, buffer), 0);
    EXPECT_EQ(buffer.get_pixel(1, 1), 9u);
    EXPECT_FALSE(p.is_inside({0, 0}));
}

TEST(OutlineRect, DrawsTheFourSidesCutToTheBuffer)
{
    RenderingBufferMemory buffer(6, 5, 0);
    ravik::OutlineRect red(0xFFFF0000u);
    red.draw(buffer, {1, 1, 4, 4});
    const char* expected[] = {"......", ".###..", ".#.#..", ".###..", "......"};
    for (int y = 0; y < 5; ++y)
    {
        for (int x = 0; x < 6; ++x)
        {
            EXPECT_EQ(buffer.get_pixel(x, y), expected[y][x] == '#' ? 0xFFFF0000u : 0u)
                << x << ", " << y;
        }
    }
    buffer.fill(0);
    red.draw(buffer, {3, -2, 9, 2});
    EXPECT_EQ(buffer.get_pixel(3, 0), 0xFFFF0000u) << "left column";
    EXPECT_EQ(buffer.get_pixel(4, 1), 0xFFFF0000u) << "bottom row";
    EXPECT_EQ(buffer.get_pixel(4, 0), 0u) << "inside";
    EXPECT_EQ(buffer.get_pixel(5, 0), 0u) << "the right column lies beyond the buffer";
    buffer.fill(0);
    red.draw(buffer, {2, 2, 2, 4});
    red.draw(buffer, {-9, -9, -1, -1});
    for (int i = 0; i < 30; ++i)
    {
        EXPECT_EQ(buffer.get_pixel(i % 6, i / 6), 0u) << "empty or outside draws nothing";
    }
}

TEST(RenderingBufferMemory, BlitCopiesTheTopLeftPartIntoTheTarget)
{
    RenderingBufferMemory window(5, 4, 0);
    RenderingBufferMemory tile(3, 3, 0);
    tile.set_target(&window);
    for (int i = 0; i < 9; ++i)
    {
        tile.set_pixel(i % 3, i / 3, static_cast<Pixel>(i + 1));
    }
    tile.blit({3, 2}, {2, 3});
    EXPECT_EQ(window.get_pixel(3, 2), 1u);
    EXPECT_EQ(window.get_pixel(4, 3), 5u);
    EXPECT_EQ(window.get_pixel(2, 2), 0u);
    tile.blit({-1, -1}, {9, 9});
    EXPECT_EQ(window.get_pixel(0, 0), 5u) << "cut at the target's left and top";
    EXPECT_EQ(window.get_pixel(1, 1), 9u);
    EXPECT_EQ(window.get_pixel(2, 0), 0u) << "only the tile's own pixels";
}

} // namespace
