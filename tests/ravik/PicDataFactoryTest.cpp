#include "ravik/PicDataFactory.hpp"

#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <typeinfo>

#include "ravik/AlphaPicData24.hpp"
#include "ravik/AlphaPicData8.hpp"
#include "ravik/ApicBytes.hpp"
#include "ravik/FontFactory.hpp"
#include "ravik/MulticolorFont.hpp"
#include "ravik/PicData24.hpp"
#include "ravik/PicData8.hpp"
#include "ravik/RenderingBufferMemory.hpp"
#include "ravik/UnicolorFont.hpp"

namespace
{

// A valid 2 x 2 picture of each decoder's format.
ApicBytes valid(Decoder d)
{
    return make_apic(d, 2, 2, {0x01020304u, 0x05060708u, 0x01020304u, 0x0A0B0C0Du},
                     {255, 0, 128, 7});
}

constexpr int refused = -1;

struct Resource
{
    const char* name;
    Decoder decoder;
    std::function<void(ApicBytes&)> change;
    int pixels; // of the loaded picture, or refused
    // Applied to the bytes after the header change.
    std::function<void(std::vector<std::uint8_t>&)> cut = nullptr;
};

using PicDataFactoryChecks = testing::TestWithParam<Resource>;

TEST_P(PicDataFactoryChecks, LoadWellFormedResourcesWithTheirDecoder)
{
    const Resource& r = GetParam();
    ApicBytes a = valid(r.decoder);
    r.change(a);
    auto bytes = a.bytes();
    if (r.cut)
        r.cut(bytes);
    const auto pic = ravik::PicDataFactory::create_from_data(bytes);
    if (r.pixels == refused)
    {
        EXPECT_EQ(pic, nullptr);
        return;
    }
    ASSERT_NE(pic, nullptr);
    const std::type_info* types[] = {&typeid(ravik::PicData8), &typeid(ravik::PicData24),
                                     &typeid(ravik::AlphaPicData8), &typeid(ravik::AlphaPicData24)};
    EXPECT_EQ(typeid(*pic), *types[static_cast<int>(r.decoder)]) << "chosen by kind and bits";
    EXPECT_EQ(pic->get_width() * pic->get_height(), r.pixels);
    ravik::RenderingBufferMemory buffer(4, 4, 0x12345678u);
    pic->draw({0, 0, 4, 4}, buffer, {0, 0, 4, 4});
    EXPECT_EQ(buffer.get_pixel(0, 0) == 0x12345678u, r.pixels == 0) << "drawn when it has pixels";
}

void unchanged(ApicBytes&) {}

void drop_last(std::vector<std::uint8_t>& b)
{
    b.pop_back();
}

INSTANTIATE_TEST_SUITE_P(
    ResourceChecks, PicDataFactoryChecks,
    testing::Values(
        Resource{"Pal8", Decoder::pal8, unchanged, 4},
        Resource{"Direct24", Decoder::direct24, unchanged, 4},
        Resource{"AlphaPal8", Decoder::alpha_pal8, unchanged, 4},
        Resource{"Alpha24", Decoder::alpha24, unchanged, 4},
        Resource{"Palette256", Decoder::pal8, [](ApicBytes& a) { a.palette.resize(256); }, 4},
        Resource{"AllMarkerBitsAndALongerHeader", Decoder::alpha24,
                 [](ApicBytes& a)
                 {
                     a.marker = 0xFFFFFFFFu;
                     a.header_size = 40;
                 },
                 4},
        Resource{"NoPixels", Decoder::direct24,
                 [](ApicBytes& a)
                 {
                     a.width = a.height = 0;
                     a.pixels.clear();
                 },
                 0},
        Resource{"OneNegativeWidth", Decoder::alpha24, [](ApicBytes& a) { a.width = -2; }, 0},
        Resource{"OneNegativeHeight", Decoder::alpha24, [](ApicBytes& a) { a.height = -1; }, 0},
        Resource{"MarkerZero", Decoder::direct24, [](ApicBytes& a) { a.marker = 0; }, refused},
        Resource{"HeaderSize35", Decoder::direct24, [](ApicBytes& a) { a.header_size = 35; },
                 refused},
        Resource{"HeaderLongerThanResource", Decoder::direct24,
                 [](ApicBytes& a) { a.header_size = 1000; }, refused},
        Resource{"ShorterThanHeader", Decoder::direct24, unchanged, refused,
                 [](std::vector<std::uint8_t>& b) { b.resize(35); }},
        Resource{"BothSizesNegative", Decoder::direct24,
                 [](ApicBytes& a) { a.width = a.height = -2; }, refused},
        Resource{"Bits16", Decoder::direct24, [](ApicBytes& a) { a.bits = 16; }, refused},
        Resource{"Bits0", Decoder::direct24, [](ApicBytes& a) { a.bits = 0; }, refused},
        Resource{"Palette257", Decoder::pal8, [](ApicBytes& a) { a.palette.resize(257); }, refused},
        Resource{"Kind2", Decoder::direct24, [](ApicBytes& a) { a.kind = 2; }, refused},
        Resource{"Kind7", Decoder::pal8, [](ApicBytes& a) { a.kind = 7; }, refused},
        Resource{"PixelsCutShort", Decoder::direct24, unchanged, refused, drop_last},
        Resource{"AlphaPixelsCutShort", Decoder::alpha_pal8, unchanged, refused, drop_last},
        Resource{"PixelOffsetBeyondEnd", Decoder::alpha24,
                 [](ApicBytes& a) { a.pixel_offset = 0xFFFFFFF0u; }, refused},
        Resource{"HugeSizes", Decoder::direct24,
                 [](ApicBytes& a) { a.width = a.height = 0x7FFFFFFF; }, refused},
        Resource{"PaletteBeyondEnd", Decoder::pal8,
                 [](ApicBytes& a) { a.palette_offset = 0xFFFFFFFFu; }, refused},
        Resource{"PaletteEntriesBeyondEnd", Decoder::alpha_pal8,
                 [](ApicBytes& a) { a.palette_entries = 200; }, refused},
        Resource{"IndexBeyondPalette", Decoder::pal8, [](ApicBytes& a) { a.pixels[3] = 3; },
                 refused},
        Resource{"AlphaIndexBeyondPalette", Decoder::alpha_pal8,
                 [](ApicBytes& a) { a.palette_entries = 1; }, refused}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PicDataFactory, MissingResourceGivesNull)
{
    EXPECT_EQ(ravik::PicDataFactory::create("no_such_picture"), nullptr);
    EXPECT_EQ(ravik::FontFactory::create("no_such_font"), nullptr);
}

struct FontKindCase
{
    const char* name;
    std::uint32_t kind;
    std::uint32_t bits;
    int height;
    // Null for refused.
    const std::type_info* type;
};

using FontFactoryKinds = testing::TestWithParam<FontKindCase>;

TEST_P(FontFactoryKinds, ChoosesTheFontOrRefuses)
{
    const auto& c = GetParam();
    ApicBytes a{.kind = c.kind, .bits = c.bits, .width = 3, .height = c.height};
    const int bpp = c.bits == 24 ? 4 : (c.kind == 1 ? 2 : 1);
    a.pixels.assign(static_cast<std::size_t>(3 * c.height * bpp), 0);
    if (c.bits == 8)
        a.palette = {0x00FF0000u};
    const auto bytes = a.bytes();
    const auto font = ravik::FontFactory::create_from_data(bytes);
    if (c.type == nullptr)
    {
        EXPECT_EQ(font, nullptr);
        return;
    }
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(typeid(*font), *c.type);
    EXPECT_EQ(font->get_line_height(), c.height - 1);
}

INSTANTIATE_TEST_SUITE_P(
    ResourceChecks, FontFactoryKinds,
    testing::Values(FontKindCase{"Unicolour", 2, 0, 4, &typeid(ravik::UnicolorFont)},
                    FontKindCase{"Multicolour", 1, 8, 4, &typeid(ravik::MulticolorFont)},
                    FontKindCase{"OpaquePicture", 0, 8, 4, nullptr},
                    FontKindCase{"AlphaPicture24", 1, 24, 4, nullptr},
                    FontKindCase{"Kind2With8Bits", 2, 8, 4, nullptr},
                    FontKindCase{"Kind1WithoutBits", 1, 0, 4, nullptr},
                    FontKindCase{"NoMarkerRow", 2, 0, 0, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FontFactory, RefusesWhatPicturesRefuse)
{
    ApicBytes a{.kind = 1,
                .bits = 8,
                .width = 2,
                .height = 2,
                .palette = std::vector<std::uint32_t>(257),
                .pixels = std::vector<std::uint8_t>(8)};
    EXPECT_EQ(ravik::FontFactory::create_from_data(a.bytes()), nullptr) << "257 entries";
    a.palette.resize(1);
    a.pixels[4] = 1;
    EXPECT_EQ(ravik::FontFactory::create_from_data(a.bytes()), nullptr) << "index beyond palette";
    a.pixels[4] = 0;
    a.header_size = 35;
    EXPECT_EQ(ravik::FontFactory::create_from_data(a.bytes()), nullptr) << "header size 35";
}

// Whatever the bytes, loading and then drawing every slot reads and writes only where it may
// (the sanitizers watch). Half the inputs are valid resources with a few bytes changed, so that
// many of them load.
TEST(PicDataFactory, RandomBytesNeverReachOutside)
{
    std::mt19937 rng(12345);
    auto byte = [&rng] { return static_cast<std::uint8_t>(rng() & 0xFF); };
    int pictures = 0;
    int fonts = 0;
    ravik::RenderingBufferMemory buffer(16, 16);
    for (int round = 0; round < 3000; ++round)
    {
        std::vector<std::uint8_t> bytes;
        if (round % 2 == 0)
        {
            bytes.resize(rng() % 120);
            for (auto& b : bytes)
                b = byte();
            if (bytes.size() >= 8 && round % 4 == 0)
            {
                bytes[4] = 36; // most headers would fail on their size otherwise
                bytes[5] = bytes[6] = bytes[7] = 0;
            }
        }
        else
        {
            const auto d = static_cast<Decoder>(rng() % 4);
            ApicBytes a = make_apic(d, 3, 2, {1, 2, 3, 4, 5, 6}, {0, 9, 255, 128, 1, 2});
            if (round % 3 == 0)
            {
                a.kind = 2;
                a.bits = 0;
                a.pixels.resize(6);
            }
            bytes = a.bytes();
            for (int n = 0, changes = 1 + static_cast<int>(rng() % 3); n < changes; ++n)
                bytes[rng() % bytes.size()] = byte();
            if (rng() % 4 == 0)
                bytes.resize(rng() % bytes.size());
        }
        if (auto pic = ravik::PicDataFactory::create_from_data(bytes))
        {
            ++pictures;
            const std::size_t n = static_cast<std::size_t>(pic->get_width()) *
                                  static_cast<std::size_t>(pic->get_height());
            EXPECT_LE(n, bytes.size()) << "a loaded picture's pixels lie within its bytes";
            const ravik::Rect crop{0, 0, pic->get_width(), pic->get_height()};
            pic->draw({-1, -1, 15, 15}, buffer, crop);
            pic->draw_multiply({0, 0, 16, 16}, buffer, crop);
            pic->draw_add({1, 1, 17, 17}, buffer, crop);
            pic->draw_at(-1.5, -0.25, {0, 0, 16, 16}, buffer, crop);
            pic->draw_rotated_faded(1.0, 1.0, {0, 0, 16, 16}, 0.7, buffer, crop, 0.5f);
            std::vector<ravik::Pixel> pixels(n);
            std::vector<std::int32_t> sums(3 * n);
            pic->copy_into(pixels);
            pic->accumulate_into(sums);
            pic->mix_into(pixels, *pic, 0.5f);
        }
        if (auto font = ravik::FontFactory::create_from_data(bytes))
        {
            ++fonts;
            ravik::Text text{"\x01\x02 AZ\xFF", 16, 16, ravik::Text::centre, 0x00FFFFFF};
            font->draw_text({-2, 0, 14, 16}, buffer, text);
        }
    }
    EXPECT_GT(pictures, 100) << "enough inputs loaded to exercise the decoders";
    EXPECT_GT(fonts, 10) << "enough inputs loaded to exercise the fonts";
}

} // namespace
