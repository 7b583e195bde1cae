#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "basic/BigEndian.hpp"
#include "sys/Resource.hpp"

// The built-in banks are committed files embedded into this test as resources, exactly as the
// plug-in module embeds them. Their bytes are checked against the preset table on their own,
// without the code that wrote them.

using basic::big_endian::load_u32;

namespace
{

struct Preset
{
    const char* name;
    std::uint32_t bits[8];
};

const Preset presets[8] = {
    {"Base", {0x3F149A78, 0, 0, 0, 0x3F000000, 0x3E800000, 0x3F000000, 0x3F000000}},
    {"Monkey on the moon",
     {0x3EDD6754, 0x3E8DF000, 0x3F800000, 0x3F4B0000, 0, 0, 0x3F000000, 0x3F000000}},
    {"No matter", {0, 0, 0x3F800000, 0x3EEEE362, 0x3F800000, 0, 0x3F000000, 0x3F800000}},
    {"The Zuk smooth",
     {0, 0, 0x3F800000, 0x3EEEE362, 0x3F800000, 0x3F050800, 0x3F000000, 0x3F800000}},
    {"Valkiry dance",
     {0, 0, 0x3E749F4A, 0x3EEEE362, 0x3F800000, 0x3F050800, 0x3F000000, 0x3F800000}},
    {"The man who said zog zog",
     {0x3E9DFFEC, 0x3E7C0539, 0x3F349F4A, 0x3EB00000, 0x3F800000, 0x3ED00FFF, 0x3F1E0000,
      0x3F2AAAAB}},
    {"Yellow cheese smells bad",
     {0x3E8811FF, 0x3E7C0539, 0x3EC71C72, 0x3EB00000, 0x3F800000, 0x3ECC0000, 0x3E77E000,
      0x3F2AAAAB}},
    {"Supra cat",
     {0x3E3023FD, 0x3F28ADC2, 0x3F800000, 0x3F452000, 0x3F800000, 0x3EC0102C, 0x3F6B0000,
      0x3F04508D}},
};

} // namespace

class BuiltinBank : public testing::TestWithParam<const char*>
{
};

TEST_P(BuiltinBank, HoldsTheEightPresetsBitForBit)
{
    const auto bytes = sys::get_resource("QBNK", GetParam());
    ASSERT_EQ(bytes.size(), 880u);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 16),
              (std::vector<std::uint8_t>{0x51, 0x42, 0x4E, 0x4B, 0, 0, 3, 0x68, 0, 0, 0, 8, 0, 0, 0,
                                         0x6C}))
        << "magic, L = 872, 8 programs, records of 108 bytes";
    for (std::size_t i = 0; i < 8; ++i)
    {
        const auto rec = bytes.subspan(16 + i * 108, 108);
        EXPECT_EQ(load_u32(&rec[0]), 0u) << "tag of " << i;
        EXPECT_EQ(load_u32(&rec[4]), 0x00400008u) << "name field of 64, 8 values, in " << i;
        EXPECT_EQ(load_u32(&rec[8]), 0u) << "no extra data in " << i;
        const std::string name = presets[i].name;
        EXPECT_EQ(std::string(rec.begin() + 12, rec.begin() + 76),
                  name + std::string(64 - name.size(), '\0'));
        for (std::size_t k = 0; k < 8; ++k)
        {
            EXPECT_EQ(load_u32(&rec[76 + 4 * k]), presets[i].bits[k])
                << "value " << k << " of " << name;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Resources, BuiltinBank,
                         testing::Values("static_presets", "default_preset_bank"));
