// The editor's artwork as the plug-in carries it: every picture of the editor's layout and the
// font load by name, fit the controls that draw them, and look the way the widgets expect.

#include <algorithm>
#include <cctype>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <string>

#include "artwork/Layout.hpp"
#include "ravik/ApicResource.hpp"
#include "ravik/FontFactory.hpp"
#include "ravik/PicDataFactory.hpp"
#include "ravik/Picture.hpp"
#include "ravik/RenderingBufferMemory.hpp"
#include "sys/Resource.hpp"

namespace
{

using ravik::Rect;
namespace layout = artwork::layout;

ravik::Point anchor_of(const std::string& name)
{
    for (const auto& picture : layout::pictures)
    {
        if (picture.name == name)
            return {picture.anchor.x, picture.anchor.y};
    }
    ADD_FAILURE() << name << " is not in the layout";
    return {};
}

// The bounding box of the controls that draw the pictures whose names start so, relative to the
// control's position, and how far the picture travels to the right with the value; the first
// that fits a name counts. The background, the pointer dots (they move with the value) and the
// lights have no box here.
struct Control
{
    const char* prefix;
    Rect box;
    int travel = 0;
};

constexpr Rect large_knob{-48, -48, 48, 48};
constexpr Rect small_knob{-26, -26, 27, 27};
constexpr Rect spin{-21, -32, 25, 34};

const Control controls[] = {
    {"bkg_", {}},
    {"tl_", {}},
    {"arw_littlesize", small_knob},
    {"arw_middlesize", large_knob},
    {"ff_10_", {-12, -11, 12, 10}},
    {"ff_11_", {-12, -26, 16, 15}},
    {"kn_11_spn", {}},
    {"kn_12_spn", {}},
    {"kn_11_", large_knob},
    {"kn_12_", small_knob},
    {"pb_39_", {0, 0, 37, 16}},
    {"pb_40_", {0, 0, 37, 16}},
    {"pb_3", {-9, -9, 8, 8}},
    {"pb_55_", {-15, -15, 16, 16}},
    {"fd_03", {-5, -14, 99, 17}, layout::tone_travel},
    {"fd_07", {-5, -12, 59, 17}, layout::morph_travel},
    {"sp_03_", spin},
};

// Every picture of the layout loads by its name in any case. One drawn outside its control's
// bounding box would not be repainted with it.
TEST(Artwork, PicturesLoadByNameAndStayInsideTheirControls)
{
    EXPECT_EQ(ravik::FontFactory::create("bkg_21_main"), nullptr) << "a picture is not a font";
    for (const auto& picture : layout::pictures)
    {
        const std::string name(picture.name);
        std::string upper = name;
        for (auto& ch : upper)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        const auto pic = ravik::PicDataFactory::create(name);
        ASSERT_NE(pic, nullptr) << name;
        EXPECT_NE(ravik::PicDataFactory::create(upper), nullptr) << upper;
        const auto control =
            std::find_if(std::begin(controls), std::end(controls),
                         [&name](const Control& c) { return name.starts_with(c.prefix); });
        ASSERT_NE(control, std::end(controls)) << name;
        if (control->box == Rect{})
            continue;
        const Rect r{-picture.anchor.x, -picture.anchor.y,
                     pic->get_width() - picture.anchor.x + control->travel,
                     pic->get_height() - picture.anchor.y};
        EXPECT_GE(r.x1, control->box.x1) << name;
        EXPECT_GE(r.y1, control->box.y1) << name;
        EXPECT_LE(r.x2, control->box.x2) << name;
        EXPECT_LE(r.y2, control->box.y2) << name;
    }
}

struct Centre
{
    double x = 0.0;
    double y = 0.0;
};

// The alpha-weighted centre of a picture, from its anchor pixel's top-left corner.
Centre centre_of(const std::string& name)
{
    const auto res = ravik::ApicResource::parse(sys::get_resource("APIC", name),
                                                ravik::ApicResource::Use::picture);
    EXPECT_TRUE(res && res->get_header().kind == 1) << name;
    if (!res || res->get_header().kind != 1)
        return {};
    const int bpp = res->get_bytes_per_pixel();
    double sum = 0.0;
    Centre c;
    for (int i = 0; i < res->get_width() * res->get_height(); ++i)
    {
        const double a = res->get_pixels()[i * bpp + bpp - 1];
        sum += a;
        c.x += a * (i % res->get_width() + 0.5);
        c.y += a * (i / res->get_width() + 0.5);
    }
    return {c.x / sum - anchor_of(name).x, c.y / sum - anchor_of(name).y};
}

struct Knob
{
    const char* prefix;
    layout::KnobStyle style;
};

const Knob knobs[] = {{"kn_11", layout::large_knob}, {"kn_12", layout::small_knob}};

std::string frame(const Knob& k, int i)
{
    return std::string(k.prefix) + "_" + std::to_string(i);
}

// The knob draws the pointer dot with its pixel (0, 1) on the pointer point, so the dot circles
// the point its own centre is offset by; every cap frame must turn around that same point.
TEST(Artwork, PointerDotsCircleTheCapsCentre)
{
    for (const auto& k : knobs)
    {
        const Centre dot = centre_of(std::string(k.prefix) + "_spn");
        for (int i = 0; i < k.style.frames; ++i)
        {
            const Centre cap = centre_of(frame(k, i));
            EXPECT_NEAR(cap.x, dot.x, 0.25) << frame(k, i);
            EXPECT_NEAR(cap.y, dot.y, 0.25) << frame(k, i);
        }
    }
}

// The knob picture drawn at the centre of a 100 x 100 buffer, turned by angle around its anchor.
void draw_turned(const std::string& name, double angle, ravik::RenderingBufferMemory& buffer)
{
    const auto pic = ravik::PicDataFactory::create(name);
    ravik::Picture p(pic.get());
    p.set_origin(anchor_of(name));
    p.draw_rotated(-50.0, -50.0, {0, 0, 100, 100}, angle, buffer);
}

// Mean difference per channel between two knob pictures, each turned.
double turned_difference(const std::string& a, double angle_a, const std::string& b, double angle_b)
{
    ravik::RenderingBufferMemory ba(100, 100, 0xFF404040u);
    ravik::RenderingBufferMemory bb(100, 100, 0xFF404040u);
    draw_turned(a, angle_a, ba);
    draw_turned(b, angle_b, bb);
    double sum = 0.0;
    for (int i = 0; i < 100 * 100 * 3; ++i)
    {
        const int shift = i % 3 * 8;
        const int x = i / 3 % 100;
        const int y = i / 300;
        sum += std::abs(static_cast<int>((ba.get_pixel(x, y) >> shift) & 0xFF) -
                        static_cast<int>((bb.get_pixel(x, y) >> shift) & 0xFF));
    }
    return sum / (100.0 * 100.0 * 3.0);
}

// Where the knob switches from frame i to frame i + 1 it shows frame i turned half a step one
// way and frame i + 1 turned half a step back: the two must match, also from the last frame
// to the first, a whole period on. Turned the other way round they are two steps apart.
TEST(Artwork, KnobFramesFollowEachOtherByOneStep)
{
    for (const auto& k : knobs)
    {
        const double half = std::numbers::pi * k.style.period / k.style.frames;
        for (int i = 0; i < k.style.frames; ++i)
        {
            const std::string a = frame(k, i);
            const std::string b = frame(k, (i + 1) % k.style.frames);
            const double switching = turned_difference(a, half, b, -half);
            const double opposite = turned_difference(a, -half, b, half);
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

// The value boxes print dark text: the panel behind each must be light enough to read it, at
// least the 4.5 : 1 contrast that legible small text needs.
TEST(Artwork, ValueBoxesSitOnLightFields)
{
    const auto bkg = ravik::PicDataFactory::create("bkg_21_main");
    ASSERT_NE(bkg, nullptr);
    ravik::RenderingBufferMemory window(layout::window_width, layout::window_height);
    bkg->draw({0, 0, layout::window_width, layout::window_height}, window,
              {0, 0, layout::window_width, layout::background_height});
    const double text = luminance(layout::value_text_colour);
    // Each box's position is its top centre.
    const std::pair<layout::Pt, int> boxes[] = {
        {layout::cutoff_box, layout::box_width},       {layout::resonance_box, layout::box_width},
        {layout::bands_box, layout::narrow_box_width}, {layout::gain_box, layout::box_width},
        {layout::spacing_box, layout::box_width},      {layout::evolution_box, layout::box_width},
        {layout::morph_box, layout::narrow_box_width}};
    for (const auto& [at, width] : boxes)
    {
        double worst = 1e9;
        for (int y = at.y; y < at.y + layout::box_height; ++y)
        {
            for (int x = at.x - width / 2; x < at.x + width / 2; ++x)
                worst = std::min(worst, (luminance(window.get_pixel(x, y)) + 0.05) / (text + 0.05));
        }
        EXPECT_GE(worst, 4.5) << "box at " << at.x << ", " << at.y;
    }
}

TEST(Artwork, ValueFontCoversTheDisplayTexts)
{
    const auto font = ravik::FontFactory::create("FONT_02");
    ASSERT_NE(font, nullptr);
    EXPECT_NE(ravik::FontFactory::create("font_02"), nullptr);
    EXPECT_EQ(ravik::PicDataFactory::create("font_02"), nullptr) << "a font is not a picture";
    ASSERT_EQ(font->get_nbr_glyphs(), 256);
    EXPECT_EQ(font->get_line_height(), layout::box_height);

    // Every printable ASCII glyph leaves ink; the space leaves none.
    ravik::RenderingBufferMemory buffer(40, 12);
    for (int b = 0x20; b < 0x7F; ++b)
    {
        buffer.fill(0xFFFFFFFFu);
        font->draw_text({0, 0, 40, 12}, buffer,
                        ravik::Text{std::string(1, static_cast<char>(b)), 40, 12, ravik::Text::left,
                                    layout::value_text_colour});
        int ink = 0;
        for (int i = 0; i < 40 * 12; ++i)
            ink += buffer.get_pixel(i % 40, i / 40) != 0xFFFFFFFFu ? 1 : 0;
        EXPECT_EQ(ink > 0, b != 0x20) << "glyph " << b;
        EXPECT_GT(font->get_glyph(b).width, 0);
    }
    // What the parameters show fits their boxes.
    for (const char* text : {"10240", "999.4", "D#10", "A#10", "-50.0", "0.500", "Post"})
        EXPECT_LE(font->text_width(text), layout::box_width) << text;
    for (const char* text : {"16", "99"})
        EXPECT_LE(font->text_width(text), layout::narrow_box_width) << text;
}

} // namespace
