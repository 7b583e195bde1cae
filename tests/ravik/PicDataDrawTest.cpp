#include <gtest/gtest.h>
#include <limits>
#include <numbers>
#include <sstream>
#include <string>

#include "ravik/ApicBytes.hpp"
#include "ravik/PicDataInterface.hpp"
#include "ravik/RenderingBufferMemory.hpp"

namespace
{

using ravik::Pixel;
using ravik::Rect;
using ravik::RenderingBufferMemory;

std::string hex(Pixel p)
{
    std::ostringstream s;
    s << "0x" << std::hex << p;
    return s.str();
}

enum class Op
{
    draw,
    multiply,
    add,
};

struct PixelRule
{
    const char* name;
    Decoder decoder;
    Op op;
    Pixel picture; // 0xXXRRGGBB, the fourth byte as stored for opaque pictures and palettes
    std::uint8_t alpha;
    Pixel before;
    Pixel after;
};

class PixelRules : public testing::TestWithParam<PixelRule>
{
};

TEST_P(PixelRules, OnePixelOnOne)
{
    const auto& r = GetParam();
    const auto loaded = load_picture(make_apic(r.decoder, 1, 1, {r.picture}, {r.alpha}));
    ASSERT_NE(loaded.pic, nullptr);
    RenderingBufferMemory buffer(1, 1, r.before);
    const Rect area{0, 0, 1, 1};
    switch (r.op)
    {
    case Op::draw:
        loaded.pic->draw(area, buffer, area);
        break;
    case Op::multiply:
        loaded.pic->draw_multiply(area, buffer, area);
        break;
    case Op::add:
        loaded.pic->draw_add(area, buffer, area);
        break;
    }
    EXPECT_EQ(hex(buffer.get_pixel(0, 0)), hex(r.after));
}

// Picture (blue 200, green 100, red 50) over buffer (100, 200, 250) unless said otherwise.
constexpr Pixel pic = 0x773264C8u;
constexpr Pixel buf = 0xAAFAC864u;

INSTANTIATE_TEST_SUITE_P(
    AllDecoders, PixelRules,
    testing::Values(
        PixelRule{"Pal8CopiesTheWholeEntry", Decoder::pal8, Op::draw, 0x11223344u, 0, buf,
                  0x11223344u},
        PixelRule{"Direct24CopiesAllFourBytes", Decoder::direct24, Op::draw, pic, 0, buf, pic},
        PixelRule{"Pal8Multiplies", Decoder::pal8, Op::multiply, pic, 0, buf, 0xAA304E4Eu},
        PixelRule{"Direct24AddSaturates", Decoder::direct24, Op::add, pic, 0, buf, 0xAAFFFFFFu},
        PixelRule{"AlphaPal8ZeroTouchesNothing", Decoder::alpha_pal8, Op::draw, pic, 0, buf, buf},
        PixelRule{"Alpha24ZeroTouchesNothing", Decoder::alpha24, Op::draw, pic, 0, buf, buf},
        PixelRule{"AlphaPal8ZeroAddsNothing", Decoder::alpha_pal8, Op::add, pic, 0, buf, buf},
        PixelRule{"Alpha24ZeroMultipliesNothing", Decoder::alpha24, Op::multiply, pic, 0, buf, buf},
        PixelRule{"AlphaPal8FullCopiesTheEntry", Decoder::alpha_pal8, Op::draw, pic, 255, buf, pic},
        PixelRule{"Alpha24FullCopiesWithAlpha", Decoder::alpha24, Op::draw, pic, 255, buf,
                  0xFF3264C8u},
        // c + ((p - c) a >> 8), shifts rounding down: 139, 160, 171.
        PixelRule{"AlphaPal8PartialBlend", Decoder::alpha_pal8, Op::draw, pic, 100, buf,
                  0xAAABA08Bu},
        // (p a + c (255 - a)) >> 8: 138, 160, 170.
        PixelRule{"Alpha24PartialBlend", Decoder::alpha24, Op::draw, pic, 100, buf, 0xAAAAA08Au},
        PixelRule{"AlphaPal8FullMultiply", Decoder::alpha_pal8, Op::multiply, pic, 255, buf,
                  0xAA304E4Eu},
        // m = p c >> 8 = (78, 78, 48); c + ((m - c) a >> 8): 91, 152, 171.
        PixelRule{"AlphaPal8PartialMultiply", Decoder::alpha_pal8, Op::multiply, pic, 100, buf,
                  0xAAAB985Bu},
        PixelRule{"Alpha24PartialMultiply", Decoder::alpha24, Op::multiply, pic, 100, buf,
                  0xAAAB985Bu},
        PixelRule{"AlphaPal8FullAddSaturates", Decoder::alpha_pal8, Op::add, pic, 255, buf,
                  0xAAFFFFFFu},
        // s = (255, 255, 255); c + ((s - c) a >> 8): 160, 221, 251.
        PixelRule{"Alpha24PartialAdd", Decoder::alpha24, Op::add, pic, 100, buf, 0xAAFBDDA0u}),
    [](const auto& info) { return std::string(info.param.name); });

struct ClipCase
{
    const char* name;
    Rect area;
    Rect crop;
};

class AreaClipping : public testing::TestWithParam<std::tuple<Decoder, ClipCase>>
{
};

// Every buffer pixel shows picture pixel (bx + area.x1, by + area.y1) when that lies in the
// area, the crop and the picture, and keeps its value otherwise.
TEST_P(AreaClipping, MatchesThePixelByPixelModel)
{
    const auto [decoder, c] = GetParam();
    constexpr int pw = 4;
    constexpr int ph = 3;
    std::vector<Pixel> colours;
    for (int i = 0; i < pw * ph; ++i)
    {
        colours.push_back(0xFF000000u | static_cast<Pixel>(0x010203 * (i + 1)));
    }
    const auto loaded = load_picture(make_apic(decoder, pw, ph, colours));
    ASSERT_NE(loaded.pic, nullptr);
    constexpr Pixel sentinel = 0x5A5A5A5Au;
    RenderingBufferMemory buffer(5, 4, sentinel);
    loaded.pic->draw(c.area, buffer, c.crop);
    for (int by = 0; by < 4; ++by)
    {
        for (int bx = 0; bx < 5; ++bx)
        {
            const int px = bx + c.area.x1;
            const int py = by + c.area.y1;
            const bool shown = px >= c.area.x1 && px < c.area.x2 && py >= c.area.y1 &&
                               py < c.area.y2 && px >= c.crop.x1 && px < c.crop.x2 &&
                               py >= c.crop.y1 && py < c.crop.y2 && px >= 0 && px < pw && py >= 0 &&
                               py < ph;
            const Pixel expected =
                shown ? colours[static_cast<std::size_t>(py * pw + px)] : sentinel;
            EXPECT_EQ(hex(buffer.get_pixel(bx, by)), hex(expected))
                << "buffer pixel " << bx << ", " << by;
        }
    }
}

constexpr Rect whole{0, 0, 4, 3};

INSTANTIATE_TEST_SUITE_P(
    EveryEdge, AreaClipping,
    testing::Combine(testing::Values(Decoder::pal8, Decoder::direct24, Decoder::alpha_pal8,
                                     Decoder::alpha24),
                     testing::Values(ClipCase{"Inside", {-1, -1, 4, 3}, whole},
                                     ClipCase{"OffLeft", {2, 0, 7, 4}, whole},
                                     ClipCase{"OffTop", {0, 2, 5, 6}, whole},
                                     ClipCase{"OffRight", {-3, -1, 2, 3}, whole},
                                     ClipCase{"OffBottom", {-1, -3, 4, 1}, whole},
                                     ClipCase{"AreaLargerThanBuffer", {-2, -2, 100, 100}, whole},
                                     ClipCase{"AreaSmallerThanBuffer", {-1, -1, 1, 1}, whole},
                                     ClipCase{"CropInside", {-1, -1, 4, 3}, {1, 1, 3, 2}},
                                     ClipCase{"CropBeyondPicture", {0, 0, 5, 4}, {-5, -5, 50, 50}},
                                     ClipCase{"CropInsideOut", {0, 0, 5, 4}, {3, 2, 1, 0}},
                                     ClipCase{"AreaInsideOut", {4, 3, 0, 0}, whole},
                                     ClipCase{"FarAway", {-2000000000, 0, 2000000000, 4}, whole})),
    [](const auto& info)
    { return decoder_name(std::get<0>(info.param)) + std::get<1>(info.param).name; });

class SubPixel : public testing::TestWithParam<Decoder>
{
};

TEST_P(SubPixel, WeightsFollowTheOverlap)
{
    const auto loaded = load_picture(make_apic(GetParam(), 1, 1, {0x00FFFFFFu}));
    RenderingBufferMemory buffer(16, 8, 0);
    // The picture's top-left lands at (10.25, 2.5): it covers 0.375 of (10, 2) and (10, 3) and
    // 0.125 of (11, 2) and (11, 3); the integer weights are 96 and 32 of 256.
    loaded.pic->draw_at(-10.25, -2.5, {0, 0, 16, 8}, buffer, {0, 0, 1, 1});
    const Pixel big = (255 * 255 * 96) >> 16;
    const Pixel small = (255 * 255 * 32) >> 16;
    EXPECT_EQ(buffer.get_pixel(10, 2), big * 0x010101u);
    EXPECT_EQ(buffer.get_pixel(10, 3), big * 0x010101u);
    EXPECT_EQ(buffer.get_pixel(11, 2), small * 0x010101u);
    EXPECT_EQ(buffer.get_pixel(11, 3), small * 0x010101u);
    EXPECT_EQ(buffer.get_pixel(9, 2) | buffer.get_pixel(12, 2) | buffer.get_pixel(10, 1) |
                  buffer.get_pixel(10, 4),
              0u)
        << "nothing beyond the four covered pixels";
}

TEST_P(SubPixel, HalfAPixelSplitsEqually)
{
    const auto loaded = load_picture(make_apic(GetParam(), 1, 1, {0x00FFFFFFu}));
    RenderingBufferMemory buffer(16, 4, 0);
    loaded.pic->draw_at(-10.5, -1.0, {0, 0, 16, 4}, buffer, {0, 0, 1, 1});
    EXPECT_EQ(buffer.get_pixel(10, 1), 127u * 0x010101u);
    EXPECT_EQ(buffer.get_pixel(11, 1), 127u * 0x010101u);
}

TEST_P(SubPixel, OpacityScalesTheWeights)
{
    const auto loaded = load_picture(make_apic(GetParam(), 1, 1, {0x00FFFFFFu}));
    RenderingBufferMemory buffer(4, 4, 0);
    loaded.pic->draw_at_faded(-1.0, -1.0, {0, 0, 4, 4}, buffer, {0, 0, 1, 1}, 0.5f);
    EXPECT_EQ(buffer.get_pixel(1, 1), 127u * 0x010101u);
    loaded.pic->draw_at_faded(-2.0, -2.0, {0, 0, 4, 4}, buffer, {0, 0, 1, 1}, 0.0f);
    EXPECT_EQ(buffer.get_pixel(2, 2), 0u) << "opacity 0 draws nothing";
}

TEST_P(SubPixel, StaysInsideClipAndCrop)
{
    const auto loaded = load_picture(
        make_apic(GetParam(), 2, 2, {0x00FFFFFFu, 0x00FFFFFFu, 0x00FFFFFFu, 0x00FFFFFFu}));
    RenderingBufferMemory buffer(8, 8, 0);
    // Covers (3..5, 3..5); the clip keeps column 3 and 4 and the crop drops the picture's right
    // column, so column 5 and whatever only it reaches stay black.
    loaded.pic->draw_at(-3.5, -3.5, {0, 0, 5, 8}, buffer, {0, 0, 1, 2});
    EXPECT_NE(buffer.get_pixel(3, 4), 0u);
    EXPECT_NE(buffer.get_pixel(4, 4), 0u) << "half of the cropped column reaches column 4";
    EXPECT_EQ(buffer.get_pixel(5, 4), 0u);
    EXPECT_EQ(buffer.get_pixel(4, 4), 127u * 0x010101u) << "only the left picture column counts";
}

// Rounding each weight on its own can make one of them -1 at low opacity, which would push
// the colour away from the picture's.
TEST_P(SubPixel, NoWeightGoesNegative)
{
    const auto loaded = load_picture(
        make_apic(GetParam(), 2, 2, {0x00FFFFFFu, 0x00FFFFFFu, 0x00FFFFFFu, 0x00FFFFFFu}));
    RenderingBufferMemory buffer(4, 4, 0x00808080u);
    loaded.pic->draw_at_faded(-0.4, -0.4, {0, 0, 4, 4}, buffer, {0, 0, 2, 2}, 1.0f / 256.0f);
    for (int y = 0; y < 4; ++y)
    {
        for (int x = 0; x < 4; ++x)
        {
            EXPECT_GE(buffer.get_pixel(x, y) & 0xFF, 0x80u)
                << "white never darkens " << x << ", " << y;
        }
    }
}

// Opacity beyond 1 would weigh more than a whole pixel and overflow the blend; NaN or infinite
// positions have no pixels to draw.
TEST_P(SubPixel, OutOfRangeArgumentsStayHarmless)
{
    const auto loaded = load_picture(make_apic(GetParam(), 1, 1, {0x00FFFFFFu}));
    RenderingBufferMemory over_one(4, 4, 0);
    RenderingBufferMemory one(4, 4, 0);
    loaded.pic->draw_at_faded(-1.5, -1.0, {0, 0, 4, 4}, over_one, {0, 0, 1, 1}, 3.0f);
    loaded.pic->draw_at_faded(-1.5, -1.0, {0, 0, 4, 4}, one, {0, 0, 1, 1}, 1.0f);
    EXPECT_EQ(over_one.get_pixel(1, 1), one.get_pixel(1, 1));
    EXPECT_EQ(over_one.get_pixel(2, 1), one.get_pixel(2, 1));

    RenderingBufferMemory buffer(4, 4, 0x01020304u);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    loaded.pic->draw_at(nan, 0.0, {0, 0, 4, 4}, buffer, {0, 0, 1, 1});
    loaded.pic->draw_at(-1.0, -inf, {0, 0, 4, 4}, buffer, {0, 0, 1, 1});
    loaded.pic->draw_rotated(-1.0, -1.0, {0, 0, 4, 4}, nan, buffer, {0, 0, 1, 1});
    loaded.pic->draw_at_faded(-1.0, -1.0, {0, 0, 4, 4}, buffer, {0, 0, 1, 1},
                              std::numeric_limits<float>::quiet_NaN());
    for (int i = 0; i < 16; ++i)
    {
        EXPECT_EQ(buffer.get_pixel(i % 4, i / 4), 0x01020304u);
    }
}

INSTANTIATE_TEST_SUITE_P(AlphaDecoders, SubPixel,
                         testing::Values(Decoder::alpha_pal8, Decoder::alpha24),
                         [](const auto& info) { return decoder_name(info.param); });

class OpaqueFloat : public testing::TestWithParam<Decoder>
{
};

TEST_P(OpaqueFloat, RoundsThePositionAndIgnoresOpacity)
{
    const auto loaded = load_picture(make_apic(GetParam(), 1, 1, {0xFF00FF00u}));
    RenderingBufferMemory buffer(4, 4, 0);
    loaded.pic->draw_at(-1.4, -2.6, {0, 0, 4, 4}, buffer, {0, 0, 1, 1});
    EXPECT_EQ(buffer.get_pixel(1, 3), 0xFF00FF00u);
    loaded.pic->draw_at_faded(-0.5, 0.0, {0, 0, 4, 4}, buffer, {0, 0, 1, 1}, 0.1f);
    EXPECT_EQ(buffer.get_pixel(0, 0), 0xFF00FF00u) << "-0.5 rounds to 0; opacity is ignored";
    loaded.pic->draw_add_at(-3.2, -0.2, {0, 0, 4, 4}, buffer, {0, 0, 1, 1});
    EXPECT_EQ(buffer.get_pixel(3, 0), 0x0000FF00u) << "add keeps the fourth byte";
}

TEST_P(OpaqueFloat, RotatedDrawsNothing)
{
    const auto loaded = load_picture(make_apic(GetParam(), 1, 1, {0xFF00FF00u}));
    RenderingBufferMemory buffer(4, 4, 0x01020304u);
    EXPECT_EQ(loaded.pic->draw_rotated(-1.0, -1.0, {0, 0, 4, 4}, 0.5, buffer, {0, 0, 1, 1}), 0);
    EXPECT_EQ(
        loaded.pic->draw_rotated_faded(-1.0, -1.0, {0, 0, 4, 4}, 0.0, buffer, {0, 0, 1, 1}, 1.0f),
        0);
    for (int i = 0; i < 16; ++i)
    {
        EXPECT_EQ(buffer.get_pixel(i % 4, i / 4), 0x01020304u);
    }
}

INSTANTIATE_TEST_SUITE_P(OpaqueDecoders, OpaqueFloat,
                         testing::Values(Decoder::pal8, Decoder::direct24),
                         [](const auto& info) { return decoder_name(info.param); });

class Rotated : public testing::TestWithParam<Decoder>
{
};

// Red, green, blue from left to right; buffer pixel (5, 5) shows the green one.
LoadedPicture three_in_a_row(Decoder d)
{
    return load_picture(make_apic(d, 3, 1, {0x00FF0000u, 0x0000FF00u, 0x000000FFu}));
}

TEST_P(Rotated, QuarterTurnStandsTheRowUp)
{
    const auto loaded = three_in_a_row(GetParam());
    RenderingBufferMemory buffer(10, 10, 0);
    // Buffer pixel b shows picture point R(b) + (x, y); with a quarter turn the pixel below the
    // centre shows the one left of it: the row turns anticlockwise on screen.
    loaded.pic->draw_rotated(6.0, -5.0, {0, 0, 10, 10}, std::numbers::pi / 2, buffer, {0, 0, 3, 1});
    EXPECT_EQ(hex(buffer.get_pixel(5, 4)), hex(0x000000FEu)) << "blue above";
    EXPECT_EQ(hex(buffer.get_pixel(5, 5)), hex(0x0000FE00u)) << "green at the centre";
    EXPECT_EQ(hex(buffer.get_pixel(5, 6)), hex(0x00FE0000u)) << "red below";
    int touched = 0;
    for (int i = 0; i < 100; ++i)
    {
        touched += buffer.get_pixel(i % 10, i / 10) != 0 ? 1 : 0;
    }
    EXPECT_EQ(touched, 3);
}

TEST_P(Rotated, OpacityAndClip)
{
    const auto loaded = three_in_a_row(GetParam());
    RenderingBufferMemory buffer(10, 10, 0);
    loaded.pic->draw_rotated_faded(6.0, -5.0, {0, 5, 10, 10}, std::numbers::pi / 2, buffer,
                                   {0, 0, 3, 1}, 0.5f);
    EXPECT_EQ(buffer.get_pixel(5, 4), 0u) << "above the clip";
    EXPECT_EQ(hex(buffer.get_pixel(5, 5)), hex(0x00007F00u));
    EXPECT_EQ(hex(buffer.get_pixel(5, 6)), hex(0x007F0000u));
}

TEST_P(Rotated, NeverWritesOutsideClipOrBuffer)
{
    std::vector<Pixel> colours(64, 0x00FFFFFFu);
    const auto loaded = load_picture(make_apic(GetParam(), 8, 8, colours));
    constexpr Pixel sentinel = 0x12345678u;
    RenderingBufferMemory buffer(12, 12, sentinel);
    const Rect clip{3, 2, 9, 10};
    for (double angle = 0.1; angle < 6.3; angle += 0.7)
    {
        loaded.pic->draw_rotated(-6.0, -6.0, clip, angle, buffer, {0, 0, 8, 8});
        loaded.pic->draw_rotated(40.0, -90.0, {-50, -50, 50, 50}, angle, buffer, {0, 0, 8, 8});
        // Clips that miss the buffer altogether, as a repaint of a control scrolled away gives.
        loaded.pic->draw_rotated(2.0, 2.0, {-20, -20, -5, -5}, angle, buffer, {0, 0, 8, 8});
        loaded.pic->draw_rotated(2.0, 2.0, {20, 0, 30, 12}, angle, buffer, {0, 0, 8, 8});
    }
    bool inside_changed = false;
    for (int y = 0; y < 12; ++y)
    {
        for (int x = 0; x < 12; ++x)
        {
            const bool in_clip = x >= clip.x1 && x < clip.x2 && y >= clip.y1 && y < clip.y2;
            if (!in_clip)
            {
                EXPECT_EQ(buffer.get_pixel(x, y), sentinel) << x << ", " << y;
            }
            inside_changed = inside_changed || (in_clip && buffer.get_pixel(x, y) != sentinel);
        }
    }
    EXPECT_TRUE(inside_changed);
}

INSTANTIATE_TEST_SUITE_P(AlphaDecoders, Rotated,
                         testing::Values(Decoder::alpha_pal8, Decoder::alpha24),
                         [](const auto& info) { return decoder_name(info.param); });

class RawCopies : public testing::TestWithParam<Decoder>
{
};

TEST_P(RawCopies, CopyAccumulateAndMix)
{
    const auto a = load_picture(make_apic(GetParam(), 2, 1, {0x11FF8000u, 0x22102030u}));
    const auto b = load_picture(make_apic(GetParam(), 2, 1, {0x3300FF80u, 0x44102030u}));
    std::vector<Pixel> out(2, 0xEE000000u);
    EXPECT_EQ(a.pic->copy_into(out), 0);
    EXPECT_EQ(hex(out[0]), hex(0xEEFF8000u)) << "blue, green, red copied, fourth byte kept";
    EXPECT_EQ(hex(out[1]), hex(0xEE102030u));

    std::vector<std::int32_t> sums(6, 1);
    a.pic->accumulate_into(sums);
    a.pic->accumulate_into(sums);
    EXPECT_EQ(sums, (std::vector<std::int32_t>{1, 257, 511, 97, 65, 33}));

    // f = 128: this + ((other - this) x 128 >> 8).
    EXPECT_EQ(a.pic->mix_into(out, *b.pic, 0.5f), 0);
    EXPECT_EQ(hex(out[0]), hex(0xEE7FBF40u));
    EXPECT_EQ(hex(out[1]), hex(0xEE102030u));
    a.pic->mix_into(out, *b.pic, 1.0f);
    EXPECT_EQ(hex(out[0]), hex(0xEE00FE7Fu)) << "factor 1 is 255/256 of the way";
}

TEST_P(RawCopies, RefusesWhatDoesNotFit)
{
    const auto a = load_picture(make_apic(GetParam(), 2, 1, {1, 2}));
    const auto wider = load_picture(make_apic(GetParam(), 1, 2, {1, 2}));
    const auto other_kind = load_picture(make_apic(
        GetParam() == Decoder::direct24 ? Decoder::alpha24 : Decoder::direct24, 2, 1, {1, 2}));
    std::vector<Pixel> out(2, 7);
    std::vector<Pixel> short_out(1, 7);
    std::vector<std::int32_t> short_sums(5, 0);
    EXPECT_EQ(a.pic->mix_into(out, *wider.pic, 0.5f), -1) << "other size";
    EXPECT_EQ(a.pic->mix_into(out, *other_kind.pic, 0.5f), -1) << "other kind";
    EXPECT_EQ(a.pic->mix_into(short_out, *a.pic, 0.5f), -1);
    EXPECT_EQ(a.pic->copy_into(short_out), -1);
    EXPECT_EQ(a.pic->accumulate_into(short_sums), -1);
    EXPECT_EQ(out, (std::vector<Pixel>{7, 7}));
    EXPECT_EQ(short_out, (std::vector<Pixel>{7}));
    EXPECT_EQ(short_sums, (std::vector<std::int32_t>(5, 0)));
}

INSTANTIATE_TEST_SUITE_P(AllDecoders, RawCopies,
                         testing::Values(Decoder::pal8, Decoder::direct24, Decoder::alpha_pal8,
                                         Decoder::alpha24),
                         [](const auto& info) { return decoder_name(info.param); });

} // namespace
