// The editor's artwork as the plug-in carries it: every picture and the font load by name, fit
// the controls that draw them, and look the way the widgets expect.

#include <cctype>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <string>

#include "ravik/ApicResource.hpp"
#include "ravik/FontFactory.hpp"
#include "ravik/PicDataFactory.hpp"
#include "ravik/Picture.hpp"
#include "ravik/RenderingBufferMemory.hpp"
#include "sys/Resource.hpp"

namespace
{

using ravik::Rect;

struct Placed
{
    const char* name;
    ravik::Point anchor;
    // The bounding box of the control that draws it, relative to the control's position, and
    // how far the picture travels to the right with the value.
    Rect control;
    int travel = 0;
};

constexpr Rect large_knob{-48, -48, 48, 48};
constexpr Rect small_knob{-26, -26, 27, 27};
constexpr Rect spin{-21, -32, 25, 34};
constexpr Rect note_switch{-12, -26, 16, 15};
constexpr Rect number_button{-9, -9, 8, 8};

const Placed placed[] = {
    {"arw_littlesize", {12, 12}, small_knob},
    {"arw_middlesize", {18, 18}, large_knob},
    {"ff_10_0", {12, 8}, {-12, -11, 12, 10}},
    {"ff_10_1", {12, 8}, {-12, -11, 12, 10}},
    {"ff_11_0", {12, 8}, note_switch},
    {"ff_11_1", {12, 8}, note_switch},
    {"kn_11_0", {36, 36}, large_knob},
    {"kn_11_1", {36, 36}, large_knob},
    {"kn_11_2", {36, 36}, large_knob},
    {"kn_11_3", {36, 36}, large_knob},
    {"kn_11_p", {43, 42}, large_knob},
    {"kn_12_0", {19, 20}, small_knob},
    {"kn_12_1", {20, 20}, small_knob},
    {"kn_12_2", {20, 19}, small_knob},
    {"kn_12_3", {20, 20}, small_knob},
    {"kn_12_4", {20, 20}, small_knob},
    {"kn_12_5", {20, 20}, small_knob},
    {"kn_12_6", {20, 20}, small_knob},
    {"kn_12_7", {20, 20}, small_knob},
    {"kn_12_p", {23, 23}, small_knob},
    {"pb_31_0", {8, 8}, number_button},
    {"pb_31_1", {8, 8}, number_button},
    {"pb_34_0", {8, 8}, number_button},
    {"pb_38_1", {8, 8}, number_button},
    {"pb_39_0", {0, 0}, {0, 0, 37, 16}},
    {"pb_39_1", {0, 0}, {0, 0, 37, 16}},
    {"pb_40_0", {0, 0}, {0, 0, 37, 16}},
    {"pb_40_1", {0, 0}, {0, 0, 37, 16}},
    {"pb_55_0", {15, 15}, {-15, -15, 16, 16}},
    {"pb_55_1", {15, 15}, {-15, -15, 16, 16}},
    {"fd_03", {5, 13}, {-5, -14, 99, 17}, 90},
    {"fd_07", {3, 9}, {-5, -12, 59, 17}, 50},
    {"sp_03_dwn_0", {9, -15}, spin},
    {"sp_03_dwn_1", {9, -15}, spin},
    {"sp_03_up_0", {9, 26}, spin},
    {"sp_03_up_1", {9, 26}, spin},
    {"sp_03_hnd_0", {13, 14}, spin},
    {"sp_03_hnd_1", {13, 14}, spin},
};

// Every picture the editor loads, by the names it uses.
const char* const all_pictures[] = {
    "arw_littlesize", "arw_middlesize", "bkg_21_main", "ff_10_0",     "ff_10_1",     "ff_11_0",
    "ff_11_1",        "kn_11_0",        "kn_11_1",     "kn_11_2",     "kn_11_3",     "kn_11_p",
    "kn_11_spn",      "kn_12_0",        "kn_12_1",     "kn_12_2",     "kn_12_3",     "kn_12_4",
    "kn_12_5",        "kn_12_6",        "kn_12_7",     "kn_12_p",     "kn_12_spn",   "pb_31_0",
    "pb_31_1",        "pb_32_0",        "pb_32_1",     "pb_33_0",     "pb_33_1",     "pb_34_0",
    "pb_34_1",        "pb_35_0",        "pb_35_1",     "pb_36_0",     "pb_36_1",     "pb_37_0",
    "pb_37_1",        "pb_38_0",        "pb_38_1",     "pb_39_0",     "pb_39_1",     "pb_40_0",
    "pb_40_1",        "pb_55_0",        "pb_55_1",     "fd_03",       "fd_07",       "sp_03_dwn_0",
    "sp_03_dwn_1",    "sp_03_up_0",     "sp_03_up_1",  "sp_03_hnd_0", "sp_03_hnd_1", "tl_01_0",
    "tl_01_1"};

TEST(Artwork, EveryPictureLoadsByNameInAnyCase)
{
    for (const char* name : all_pictures)
    {
        EXPECT_NE(ravik::PicDataFactory::create(name), nullptr) << name;
        std::string upper(name);
        for (auto& ch : upper)
        {
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        }
        EXPECT_NE(ravik::PicDataFactory::create(upper), nullptr) << upper;
    }
    const auto bkg = ravik::PicDataFactory::create("bkg_21_main");
    ASSERT_NE(bkg, nullptr);
    EXPECT_EQ(bkg->get_width(), 300);
    EXPECT_EQ(bkg->get_height(), 338);
    EXPECT_EQ(ravik::FontFactory::create("bkg_21_main"), nullptr) << "a picture is not a font";
}

TEST(Artwork, KnobFramesHaveTheirSizes)
{
    for (int i = 0; i < 4; ++i)
    {
        const auto f = ravik::PicDataFactory::create("kn_11_" + std::to_string(i));
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->get_width(), 73);
        EXPECT_EQ(f->get_height(), 73);
    }
    for (int i = 0; i < 8; ++i)
    {
        const auto f = ravik::PicDataFactory::create("kn_12_" + std::to_string(i));
        ASSERT_NE(f, nullptr);
        EXPECT_TRUE(f->get_width() == 40 || f->get_width() == 41) << i;
        EXPECT_EQ(f->get_height(), f->get_width()) << i;
    }
}

// A picture drawn outside its control's bounding box would not be repainted with it.
TEST(Artwork, PicturesStayInsideTheirControls)
{
    for (const auto& p : placed)
    {
        const auto pic = ravik::PicDataFactory::create(p.name);
        ASSERT_NE(pic, nullptr) << p.name;
        const Rect r{-p.anchor.x, -p.anchor.y, pic->get_width() - p.anchor.x + p.travel,
                     pic->get_height() - p.anchor.y};
        EXPECT_GE(r.x1, p.control.x1) << p.name;
        EXPECT_GE(r.y1, p.control.y1) << p.name;
        EXPECT_LE(r.x2, p.control.x2) << p.name;
        EXPECT_LE(r.y2, p.control.y2) << p.name;
    }
}

struct Centre
{
    double x = 0.0;
    double y = 0.0;
};

// The alpha-weighted centre of a picture, from its anchor pixel's top-left corner.
Centre centre_of(const std::string& name, ravik::Point anchor)
{
    const auto res = ravik::ApicResource::parse(sys::get_resource("APIC", name),
                                                ravik::ApicResource::Use::picture);
    EXPECT_TRUE(res && res->get_header().kind == 1) << name;
    if (!res || res->get_header().kind != 1)
    {
        return {};
    }
    const int bpp = res->get_bytes_per_pixel();
    double sum = 0.0;
    Centre c;
    for (int y = 0; y < res->get_height(); ++y)
    {
        for (int x = 0; x < res->get_width(); ++x)
        {
            const double a = res->get_pixels()[(y * res->get_width() + x) * bpp + bpp - 1];
            sum += a;
            c.x += a * (x + 0.5);
            c.y += a * (y + 0.5);
        }
    }
    return {c.x / sum - anchor.x, c.y / sum - anchor.y};
}

// The knob draws the pointer dot with its pixel (0, 1) on the pointer point, so the dot circles
// the point its own centre is offset by; every cap frame must turn around that same point.
TEST(Artwork, PointerDotsCircleTheCapsCentre)
{
    struct KnobCase
    {
        const char* prefix;
        int frames;
        ravik::Point anchors[8];
    };
    const KnobCase knobs[] = {
        {"kn_11", 4, {{36, 36}, {36, 36}, {36, 36}, {36, 36}}},
        {"kn_12",
         8,
         {{19, 20}, {20, 20}, {20, 19}, {20, 20}, {20, 20}, {20, 20}, {20, 20}, {20, 20}}},
    };
    for (const auto& k : knobs)
    {
        const Centre dot = centre_of(std::string(k.prefix) + "_spn", {0, 1});
        for (int i = 0; i < k.frames; ++i)
        {
            const std::string name = std::string(k.prefix) + "_" + std::to_string(i);
            const Centre cap = centre_of(name, k.anchors[i]);
            EXPECT_NEAR(cap.x, dot.x, 0.25) << name;
            EXPECT_NEAR(cap.y, dot.y, 0.25) << name;
        }
    }
}

// Mean difference per channel between two knob pictures drawn at one position, each turned.
double turned_difference(const std::string& a, double angle_a, const std::string& b, double angle_b,
                         ravik::Point anchor_a, ravik::Point anchor_b)
{
    const auto pa = ravik::PicDataFactory::create(a);
    const auto pb = ravik::PicDataFactory::create(b);
    ravik::Picture qa(pa.get());
    ravik::Picture qb(pb.get());
    qa.set_origin(anchor_a);
    qb.set_origin(anchor_b);
    ravik::RenderingBufferMemory ba(100, 100, 0xFF404040u);
    ravik::RenderingBufferMemory bb(100, 100, 0xFF404040u);
    qa.draw_rotated(-50.0, -50.0, {0, 0, 100, 100}, angle_a, ba);
    qb.draw_rotated(-50.0, -50.0, {0, 0, 100, 100}, angle_b, bb);
    double sum = 0.0;
    for (int y = 0; y < 100; ++y)
    {
        for (int x = 0; x < 100; ++x)
        {
            for (int shift = 0; shift < 24; shift += 8)
            {
                sum += std::abs(static_cast<int>((ba.get_pixel(x, y) >> shift) & 0xFF) -
                                static_cast<int>((bb.get_pixel(x, y) >> shift) & 0xFF));
            }
        }
    }
    return sum / (100.0 * 100.0 * 3.0);
}

// Where the knob switches from frame i to frame i + 1 it shows frame i turned half a step one
// way and frame i + 1 turned half a step back: the two must match, also from the last frame
// to the first, a whole period on. Turned the other way round they are two steps apart.
TEST(Artwork, KnobFramesFollowEachOtherByOneStep)
{
    struct KnobCase
    {
        const char* prefix;
        int frames;
        double period; // turns
        ravik::Point anchors[8];
    };
    const KnobCase knobs[] = {
        {"kn_11", 4, 0.03125, {{36, 36}, {36, 36}, {36, 36}, {36, 36}}},
        {"kn_12",
         8,
         0.14285715,
         {{19, 20}, {20, 20}, {20, 19}, {20, 20}, {20, 20}, {20, 20}, {20, 20}, {20, 20}}},
    };
    for (const auto& k : knobs)
    {
        const double half = std::numbers::pi * k.period / k.frames;
        for (int i = 0; i < k.frames; ++i)
        {
            const int j = (i + 1) % k.frames;
            const std::string a = std::string(k.prefix) + "_" + std::to_string(i);
            const std::string b = std::string(k.prefix) + "_" + std::to_string(j);
            const double switching =
                turned_difference(a, half, b, -half, k.anchors[i], k.anchors[j]);
            const double opposite =
                turned_difference(a, -half, b, half, k.anchors[i], k.anchors[j]);
            EXPECT_LT(switching, 0.5 * opposite) << a << " to " << b;
            EXPECT_LT(switching, 2.0) << a << " to " << b;
        }
    }
}

double luminance(ravik::Pixel p)
{
    auto lin = [](int c)
    {
        const double v = c / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.0722 * lin(p & 0xFF) + 0.7152 * lin((p >> 8) & 0xFF) + 0.2126 * lin((p >> 16) & 0xFF);
}

// The value boxes print dark text (0x231E16): the panel behind each must be light enough to
// read it, at least the 4.5 : 1 contrast that legible small text needs.
TEST(Artwork, ValueBoxesSitOnLightFields)
{
    const auto bkg = ravik::PicDataFactory::create("bkg_21_main");
    ASSERT_NE(bkg, nullptr);
    ravik::RenderingBufferMemory window(300, 335);
    bkg->draw({0, 0, 300, 335}, window, {0, 0, 300, 338});
    const double text = luminance(0x231E16);
    // Window rectangles; the morph time display belongs to the preset group placed at (0, 282).
    const Rect boxes[] = {{108, 217, 180, 229}, {4, 263, 76, 275}, {20, 41, 44, 53},
                          {224, 147, 296, 159}, {4, 156, 76, 168}, {224, 263, 296, 275},
                          {156, 310, 180, 322}};
    for (const auto& b : boxes)
    {
        double worst = 1e9;
        for (int y = b.y1; y < b.y2; ++y)
        {
            for (int x = b.x1; x < b.x2; ++x)
            {
                worst = std::min(worst, (luminance(window.get_pixel(x, y)) + 0.05) / (text + 0.05));
            }
        }
        EXPECT_GE(worst, 4.5) << "box at " << b.x1 << ", " << b.y1;
    }
}

TEST(Artwork, ValueFontCoversTheDisplayTexts)
{
    const auto font = ravik::FontFactory::create("FONT_02");
    ASSERT_NE(font, nullptr);
    EXPECT_NE(ravik::FontFactory::create("font_02"), nullptr);
    EXPECT_EQ(ravik::PicDataFactory::create("font_02"), nullptr) << "a font is not a picture";
    ASSERT_EQ(font->get_nbr_glyphs(), 256);
    EXPECT_EQ(font->get_line_height(), 12);

    // Every printable ASCII glyph leaves ink; the space leaves none.
    ravik::RenderingBufferMemory buffer(40, 12);
    for (int b = 0x20; b < 0x7F; ++b)
    {
        buffer.fill(0xFFFFFFFFu);
        font->draw_text(
            {0, 0, 40, 12}, buffer,
            ravik::Text{std::string(1, static_cast<char>(b)), 40, 12, ravik::Text::left, 0x231E16});
        int ink = 0;
        for (int i = 0; i < 40 * 12; ++i)
        {
            ink += buffer.get_pixel(i % 40, i / 40) != 0xFFFFFFFFu ? 1 : 0;
        }
        EXPECT_EQ(ink > 0, b != 0x20) << "glyph " << b;
        EXPECT_GT(font->get_glyph(b).width, 0);
    }
    // What the parameters show fits their boxes.
    for (const char* text : {"10240", "999.4", "D#10", "A#10", "-50.0", "0.500", "Post"})
    {
        EXPECT_LE(font->text_width(text), 72) << text;
    }
    EXPECT_LE(font->text_width("16"), 24);
    EXPECT_LE(font->text_width("99"), 24);
}

} // namespace
