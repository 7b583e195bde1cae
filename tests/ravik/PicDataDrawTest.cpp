#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>
#include <string>

#include "ravik/ApicBytes.hpp"
#include "ravik/PicDataInterface.hpp"
#include "ravik/RenderingBufferMemory.hpp"

using ravik::PicDataInterface;
using ravik::Pixel;
using ravik::Rect;
using ravik::RenderingBufferMemory;

namespace
{

using Buffer = RenderingBufferMemory;

// One drawing operation at a position that need not be whole pixels.
using Call = std::function<int(const PicDataInterface&, Buffer&)>;

Call at(double x, double y, Rect clip, Rect crop)
{
    return [=](const PicDataInterface& p, Buffer& b) { return p.draw_at(x, y, clip, b, crop); };
}

Call add_at(double x, double y, Rect clip, Rect crop)
{
    return [=](const PicDataInterface& p, Buffer& b) { return p.draw_add_at(x, y, clip, b, crop); };
}

Call faded(double x, double y, Rect clip, Rect crop, float opacity)
{
    return [=](const PicDataInterface& p, Buffer& b)
    { return p.draw_at_faded(x, y, clip, b, crop, opacity); };
}

Call turned(double x, double y, Rect clip, Rect crop, double angle, float opacity = -1.0f)
{
    return [=](const PicDataInterface& p, Buffer& b)
    {
        return opacity < 0.0f ? p.draw_rotated(x, y, clip, angle, b, crop)
                              : p.draw_rotated_faded(x, y, clip, angle, b, crop, opacity);
    };
}

// Calls on a picture of every decoder given, and the buffer pixels they change.
struct Drawing
{
    const char* name;
    std::vector<Decoder> decoders;
    ravik::Point picture_size;
    std::vector<Pixel> colours;
    ravik::Point buffer_size;
    Pixel fill;
    std::vector<Call> calls;
    std::vector<std::tuple<int, int, Pixel>> changed;
};

using DrawnPixels = testing::TestWithParam<Drawing>;

TEST_P(DrawnPixels, ChangeOnlyThePixelsExpected)
{
    const Drawing& d = GetParam();
    for (const Decoder decoder : d.decoders)
    {
        SCOPED_TRACE(decoder_name(decoder));
        const auto loaded =
            load_picture(make_apic(decoder, d.picture_size.x, d.picture_size.y, d.colours));
        ASSERT_NE(loaded.pic, nullptr);
        Buffer buffer(d.buffer_size.x, d.buffer_size.y, d.fill);
        for (const Call& call : d.calls)
            EXPECT_EQ(call(*loaded.pic, buffer), 0);
        expect_only(buffer, d.fill, d.changed);
    }
}

constexpr Pixel white = 0x00FFFFFFu;
constexpr Rect one{0, 0, 1, 1};
constexpr Rect r4{0, 0, 4, 4};
constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double quarter_turn = std::numbers::pi / 2;
// Red, green and blue from left to right.
const std::vector<Pixel> rgb = {0x00FF0000u, 0x0000FF00u, 0x000000FFu};
constexpr Pixel big = grey(255 * 255 * 96 >> 16);
constexpr Pixel small = grey(255 * 255 * 32 >> 16);

INSTANTIATE_TEST_SUITE_P(
    AtPositions, DrawnPixels,
    testing::Values(
        // The picture's top-left lands at (10.25, 2.5): it covers 0.375 of (10, 2) and (10, 3) and
        // 0.125 of (11, 2) and (11, 3); the integer weights are 96 and 32 of 256.
        Drawing("WeightsFollowTheOverlap", alpha_decoders, {1, 1}, {white}, {16, 8}, 0,
                {at(-10.25, -2.5, {0, 0, 16, 8}, one)},
                {{10, 2, big}, {10, 3, big}, {11, 2, small}, {11, 3, small}}),
        Drawing("HalfAPixelSplitsEqually", alpha_decoders, {1, 1}, {white}, {16, 4}, 0,
                {at(-10.5, -1.0, {0, 0, 16, 4}, one)}, {{10, 1, grey(127)}, {11, 1, grey(127)}}),
        Drawing("OpacityScalesTheWeights", alpha_decoders, {1, 1}, {white}, {4, 4}, 0,
                {faded(-1.0, -1.0, r4, one, 0.5f), faded(-2.0, -2.0, r4, one, 0.0f)},
                {{1, 1, grey(127)}}),
        // Covers (3..5, 3..5); the clip keeps columns 3 and 4 and the crop drops the picture's
        // right column, so only the left one counts and column 5 stays black.
        Drawing("StaysInsideClipAndCrop", alpha_decoders, {2, 2}, std::vector<Pixel>(4, white),
                {8, 8}, 0, {at(-3.5, -3.5, {0, 0, 5, 8}, {0, 0, 1, 2})},
                {{3, 3, grey(63)},
                 {3, 4, grey(127)},
                 {3, 5, grey(63)},
                 {4, 3, grey(63)},
                 {4, 4, grey(127)},
                 {4, 5, grey(63)}}),
        Drawing("NonFiniteArgumentsDrawNothing", alpha_decoders, {1, 1}, {white}, {4, 4},
                0x01020304u,
                {at(nan, 0.0, r4, one), at(-1.0, -inf, r4, one), turned(-1.0, -1.0, r4, one, nan),
                 faded(-1.0, -1.0, r4, one, std::numeric_limits<float>::quiet_NaN())},
                {}),
        Drawing("OpaqueRoundsThePosition", opaque_decoders, {1, 1}, {0xFF00FF00u}, {4, 4}, 0,
                {at(-1.4, -2.6, r4, one)}, {{1, 3, 0xFF00FF00u}}),
        Drawing("OpaqueIgnoresOpacityAndRoundsHalfUp", opaque_decoders, {1, 1}, {0xFF00FF00u},
                {4, 4}, 0, {faded(-0.5, 0.0, r4, one, 0.1f)}, {{0, 0, 0xFF00FF00u}}),
        Drawing("OpaqueAddKeepsTheFourthByte", opaque_decoders, {1, 1}, {0xFF00FF00u}, {4, 4}, 0,
                {add_at(-3.2, -0.2, r4, one)}, {{3, 0, 0x0000FF00u}}),
        Drawing("OpaqueTurnedDrawsNothing", opaque_decoders, {1, 1}, {0xFF00FF00u}, {4, 4},
                0x01020304u,
                {turned(-1.0, -1.0, r4, one, 0.5), turned(-1.0, -1.0, r4, one, 0.0, 1.0f)}, {}),
        // Buffer pixel b shows picture point R(b) + (x, y); with a quarter turn the pixel below
        // (5, 5) shows the one left of it: the row turns anticlockwise on screen.
        Drawing("QuarterTurnStandsTheRowUp", alpha_decoders, {3, 1}, rgb, {10, 10}, 0,
                {turned(6.0, -5.0, {0, 0, 10, 10}, {0, 0, 3, 1}, quarter_turn)},
                {{5, 4, 0x000000FEu}, {5, 5, 0x0000FE00u}, {5, 6, 0x00FE0000u}}),
        Drawing("TurnedWithOpacityInsideTheClip", alpha_decoders, {3, 1}, rgb, {10, 10}, 0,
                {turned(6.0, -5.0, {0, 5, 10, 10}, {0, 0, 3, 1}, quarter_turn, 0.5f)},
                {{5, 5, 0x00007F00u}, {5, 6, 0x007F0000u}})),
    [](const auto& info) { return std::string(info.param.name); });

using DrawCall = int (PicDataInterface::*)(const Rect&, ravik::RenderingBufferInterface&,
                                           const Rect&) const;

struct PixelRule
{
    const char* name;
    Decoder decoder;
    DrawCall call;
    Pixel picture; // 0xXXRRGGBB, the fourth byte as stored for opaque pictures and palettes
    std::uint8_t alpha;
    Pixel before;
    Pixel after;
};

using PixelRules = testing::TestWithParam<PixelRule>;

TEST_P(PixelRules, OnePixelOnOne)
{
    const auto& r = GetParam();
    const auto loaded = load_picture(make_apic(r.decoder, 1, 1, {r.picture}, {r.alpha}));
    ASSERT_NE(loaded.pic, nullptr);
    RenderingBufferMemory buffer(1, 1, r.before);
    EXPECT_EQ(((*loaded.pic).*r.call)(one, buffer, one), 0);
    EXPECT_EQ(hex(buffer.get_pixel(0, 0)), hex(r.after));
}

// Picture (blue 200, green 100, red 50) over buffer (100, 200, 250) unless said otherwise.
constexpr Pixel pic = 0x773264C8u;
constexpr Pixel buf = 0xAAFAC864u;
constexpr DrawCall draw = &PicDataInterface::draw;
constexpr DrawCall multiply = &PicDataInterface::draw_multiply;
constexpr DrawCall add = &PicDataInterface::draw_add;

INSTANTIATE_TEST_SUITE_P(
    AllDecoders, PixelRules,
    testing::Values(
        PixelRule{"Pal8CopiesTheWholeEntry", Decoder::pal8, draw, 0x11223344u, 0, buf, 0x11223344u},
        PixelRule{"Direct24CopiesAllFourBytes", Decoder::direct24, draw, pic, 0, buf, pic},
        PixelRule{"Pal8Multiplies", Decoder::pal8, multiply, pic, 0, buf, 0xAA304E4Eu},
        PixelRule{"Direct24AddSaturates", Decoder::direct24, add, pic, 0, buf, 0xAAFFFFFFu},
        PixelRule{"AlphaPal8ZeroTouchesNothing", Decoder::alpha_pal8, draw, pic, 0, buf, buf},
        PixelRule{"Alpha24ZeroTouchesNothing", Decoder::alpha24, draw, pic, 0, buf, buf},
        PixelRule{"AlphaPal8ZeroAddsNothing", Decoder::alpha_pal8, add, pic, 0, buf, buf},
        PixelRule{"Alpha24ZeroMultipliesNothing", Decoder::alpha24, multiply, pic, 0, buf, buf},
        PixelRule{"AlphaPal8FullCopiesTheEntry", Decoder::alpha_pal8, draw, pic, 255, buf, pic},
        PixelRule{"Alpha24FullCopiesWithAlpha", Decoder::alpha24, draw, pic, 255, buf, 0xFF3264C8u},
        // c + ((p - c) a >> 8), shifts rounding down: 139, 160, 171.
        PixelRule{"AlphaPal8PartialBlend", Decoder::alpha_pal8, draw, pic, 100, buf, 0xAAABA08Bu},
        // (p a + c (255 - a)) >> 8: 138, 160, 170.
        PixelRule{"Alpha24PartialBlend", Decoder::alpha24, draw, pic, 100, buf, 0xAAAAA08Au},
        PixelRule{"AlphaPal8FullMultiply", Decoder::alpha_pal8, multiply, pic, 255, buf,
                  0xAA304E4Eu},
        // m = p c >> 8 = (78, 78, 48); c + ((m - c) a >> 8): 91, 152, 171.
        PixelRule{"AlphaPal8PartialMultiply", Decoder::alpha_pal8, multiply, pic, 100, buf,
                  0xAAAB985Bu},
        PixelRule{"Alpha24PartialMultiply", Decoder::alpha24, multiply, pic, 100, buf, 0xAAAB985Bu},
        PixelRule{"AlphaPal8FullAddSaturates", Decoder::alpha_pal8, add, pic, 255, buf,
                  0xAAFFFFFFu},
        // s = (255, 255, 255); c + ((s - c) a >> 8): 160, 221, 251.
        PixelRule{"Alpha24PartialAdd", Decoder::alpha24, add, pic, 100, buf, 0xAAFBDDA0u}),
    [](const auto& info) { return std::string(info.param.name); });

struct ClipCase
{
    const char* name;
    Rect area;
    Rect crop;
};

using AreaClipping = testing::TestWithParam<std::tuple<Decoder, ClipCase>>;

// Every buffer pixel shows picture pixel (bx + area.x1, by + area.y1) when that lies in the
// area, the crop and the picture, and keeps its value otherwise.
TEST_P(AreaClipping, MatchesThePixelByPixelModel)
{
    const auto [decoder, c] = GetParam();
    constexpr int pw = 4;
    constexpr int ph = 3;
    std::vector<Pixel> colours;
    for (int i = 0; i < pw * ph; ++i)
        colours.push_back(0xFF000000u | static_cast<Pixel>(0x010203 * (i + 1)));
    const auto loaded = load_picture(make_apic(decoder, pw, ph, colours));
    ASSERT_NE(loaded.pic, nullptr);
    constexpr Pixel sentinel = 0x5A5A5A5Au;
    RenderingBufferMemory buffer(5, 4, sentinel);
    loaded.pic->draw(c.area, buffer, c.crop);
    auto within = [](int x, int y, const Rect& r)
    { return x >= r.x1 && x < r.x2 && y >= r.y1 && y < r.y2; };
    for (int by = 0; by < 4; ++by)
    {
        for (int bx = 0; bx < 5; ++bx)
        {
            const int px = bx + c.area.x1;
            const int py = by + c.area.y1;
            const bool shown =
                within(px, py, c.area) && within(px, py, c.crop) && within(px, py, {0, 0, pw, ph});
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
    testing::Combine(testing::ValuesIn(all_decoders),
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

using AlphaDrawing = testing::TestWithParam<Decoder>;

// Rounding each weight on its own can make one of them -1 at low opacity, which would push the
// colour away from the picture's; opacity beyond 1 would weigh more than a whole pixel and
// overflow the blend.
TEST_P(AlphaDrawing, WeightsStayBetweenNothingAndTheWholePixel)
{
    const auto loaded = load_picture(make_apic(GetParam(), 2, 2, {white, white, white, white}));
    RenderingBufferMemory faint(4, 4, grey(0x80));
    loaded.pic->draw_at_faded(-0.4, -0.4, {0, 0, 4, 4}, faint, {0, 0, 2, 2}, 1.0f / 256.0f);
    for (int i = 0; i < 16; ++i)
        EXPECT_GE(faint.get_pixel(i % 4, i / 4) & 0xFF, 0x80u) << "white never darkens pixel " << i;

    RenderingBufferMemory over_one(4, 4, 0);
    RenderingBufferMemory full(4, 4, 0);
    loaded.pic->draw_at_faded(-1.5, -1.0, {0, 0, 4, 4}, over_one, one, 3.0f);
    loaded.pic->draw_at_faded(-1.5, -1.0, {0, 0, 4, 4}, full, one, 1.0f);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(over_one.get_pixel(i % 4, i / 4), full.get_pixel(i % 4, i / 4)) << "pixel " << i;
}

TEST_P(AlphaDrawing, TurnedNeverWritesOutsideClipOrBuffer)
{
    const auto loaded = load_picture(make_apic(GetParam(), 8, 8, std::vector<Pixel>(64, white)));
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
            EXPECT_TRUE(in_clip || buffer.get_pixel(x, y) == sentinel)
                << "outside at " << x << ", " << y;
            inside_changed = inside_changed || (in_clip && buffer.get_pixel(x, y) != sentinel);
        }
    }
    EXPECT_TRUE(inside_changed);
}

INSTANTIATE_TEST_SUITE_P(AlphaDecoders, AlphaDrawing, testing::ValuesIn(alpha_decoders),
                         [](const auto& info) { return decoder_name(info.param); });

using RawCopies = testing::TestWithParam<Decoder>;

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

INSTANTIATE_TEST_SUITE_P(AllDecoders, RawCopies, testing::ValuesIn(all_decoders),
                         [](const auto& info) { return decoder_name(info.param); });

} // namespace
