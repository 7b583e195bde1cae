#include "plux/prog/ProgramSlot.hpp"

#include <bit>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

#include "basic/BigEndian.hpp"
#include "plux/prog/BankErr.hpp"
#include "plux/prog/ProgTestUtil.hpp"

using namespace plux;
using prog_test::bytes_of;

namespace
{

void append_be(std::vector<std::uint8_t>& out, std::uint32_t v, int nbr_bytes)
{
    for (int shift = 8 * (nbr_bytes - 1); shift >= 0; shift -= 8)
    {
        out.push_back(static_cast<std::uint8_t>(v >> shift));
    }
}

// A record whose name field is name_field, whatever its size, as other writers may lay it out.
std::vector<std::uint8_t> make_record(std::uint32_t tag, const std::string& name_field,
                                      const std::vector<std::uint32_t>& value_bits,
                                      const std::vector<std::uint8_t>& extra = {})
{
    std::vector<std::uint8_t> rec;
    append_be(rec, tag, 4);
    append_be(rec, static_cast<std::uint32_t>(name_field.size()), 2);
    append_be(rec, static_cast<std::uint32_t>(value_bits.size()), 2);
    append_be(rec, static_cast<std::uint32_t>(extra.size()), 4);
    rec.insert(rec.end(), name_field.begin(), name_field.end());
    for (const std::uint32_t bits : value_bits)
    {
        append_be(rec, bits, 4);
    }
    rec.insert(rec.end(), extra.begin(), extra.end());
    return rec;
}

std::vector<std::uint32_t> bits_of(const ProgramSlot& prog)
{
    std::vector<std::uint32_t> bits;
    for (const float v : prog.use_values())
    {
        bits.push_back(std::bit_cast<std::uint32_t>(v));
    }
    return bits;
}

} // namespace

TEST(ProgramSlot, EightValueRecordIs108BytesWithAZeroPaddedName)
{
    ProgramSlot prog;
    EXPECT_STREQ(prog.get_name(), "Default");
    EXPECT_EQ(prog.get_size(), 76) << "a new program has no values";

    prog.set_name("Base");
    prog.set_tag(0xDEADBEEF);
    // Bit patterns that a decimal round trip or a float register could alter.
    const std::vector<std::uint32_t> bits = {0x3F149A78, 0x00000000, 0x80000000, 0x7FC12345,
                                             0x00000001, 0x3F2AAAAB, 0xFF800000, 0x3F800000};
    for (const std::uint32_t b : bits)
    {
        prog.use_values().push_back(std::bit_cast<float>(b));
    }
    std::vector<std::uint8_t> out(108, 0xAA);
    ASSERT_EQ(prog.write(out), 0);
    EXPECT_EQ(out, make_record(0xDEADBEEF, std::string("Base") + std::string(60, '\0'), bits))
        << "tag, 0x0040, 0x0008, extra size 0, the name padded with zeros, big-endian floats";
}

// Set or read, a name keeps at most 63 characters and ends at a zero byte. A name field may be as
// long as the name, without a terminating zero: the values follow it.
TEST(ProgramSlot, NameKeepsAtMost63CharactersAndEndsAtAZeroByte)
{
    std::string letters;
    for (int i = 0; i < 300; ++i)
    {
        letters += static_cast<char>('a' + i % 26);
    }
    for (const std::size_t length : {0, 1, 63, 64, 65, 300})
    {
        SCOPED_TRACE(std::to_string(length) + " characters");
        const std::string name = letters.substr(0, length);
        const std::string kept = name.substr(0, 63);
        ProgramSlot prog;
        prog.set_name(name);
        EXPECT_EQ(prog.get_name(), kept);
        const auto out = bytes_of(prog);
        EXPECT_EQ(std::string(out.begin() + 12, out.end()),
                  kept + std::string(64 - kept.size(), '\0'))
            << "then zeros to fill the 64-byte field";
        ASSERT_EQ(prog.read(make_record(7, name, {0x3F000000})), 0);
        EXPECT_EQ(prog.get_name(), kept);
        EXPECT_EQ(bits_of(prog), std::vector<std::uint32_t>{0x3F000000});
    }
    ProgramSlot prog;
    prog.set_name(std::string("ab\0cd", 5));
    EXPECT_STREQ(prog.get_name(), "ab");
    ASSERT_EQ(prog.read(make_record(0, std::string("xy\0zw", 5), {})), 0);
    EXPECT_STREQ(prog.get_name(), "xy");
}

TEST(ProgramSlot, RoundTripKeepsEverythingAndIgnoresTrailingBytes)
{
    ProgramSlot prog;
    prog.set_name("Supra cat");
    prog.set_tag(42);
    prog.use_values() = {0.25f, -0.0f, 1.0f};
    prog.use_extra() = {1, 2, 3, 0, 255};
    auto bytes = bytes_of(prog);
    ASSERT_EQ(bytes.size(), 76u + 12 + 5);
    bytes.resize(bytes.size() + 9, 0xEE);

    ProgramSlot copy;
    ASSERT_EQ(copy.read(bytes), 0);
    EXPECT_STREQ(copy.get_name(), "Supra cat");
    EXPECT_EQ(copy.get_tag(), 42u);
    EXPECT_EQ(bits_of(copy), bits_of(prog)) << "-0 keeps its sign bit";
    EXPECT_EQ(copy.use_extra(), prog.use_extra());
}

struct MalformedRecord
{
    const char* what;
    std::vector<std::uint8_t> bytes;

    friend void PrintTo(const MalformedRecord& param, std::ostream* os) { *os << param.what; }
};

class ProgramSlotMalformed : public testing::TestWithParam<MalformedRecord>
{
};

TEST_P(ProgramSlotMalformed, IsRefusedAndChangesNothing)
{
    ProgramSlot prog;
    prog.set_name("Keep me");
    prog.use_values() = {0.5f, 0.75f};
    const auto before = bytes_of(prog);
    EXPECT_LT(prog.read(GetParam().bytes), 0) << GetParam().what;
    EXPECT_EQ(bytes_of(prog), before) << GetParam().what;
}

namespace
{

MalformedRecord cut_short(const char* what, std::vector<std::uint8_t> bytes)
{
    bytes.pop_back();
    return {what, bytes};
}

MalformedRecord with_extra_size(const char* what, std::uint32_t extra_size)
{
    auto rec = make_record(0, std::string(64, '\0'), {});
    basic::big_endian::store_u32(&rec[8], extra_size);
    return {what, rec};
}

} // namespace

INSTANTIATE_TEST_SUITE_P(
    Records, ProgramSlotMalformed,
    testing::Values(MalformedRecord{"empty", {}},
                    cut_short("11-byte header", make_record(0, "", {})),
                    cut_short("name field cut short", make_record(0, "Name", {})),
                    cut_short("last value cut short", make_record(0, "", {1, 2})),
                    cut_short("extra data cut short", make_record(0, "", {}, {1, 2})),
                    with_extra_size("extra size 2^31", 0x80000000),
                    with_extra_size("extra size 2^32 - 1", 0xFFFFFFFF)));

TEST(ProgramSlot, WriteRefusesWhatItCannotStore)
{
    ProgramSlot prog;
    prog.use_values().resize(3);
    std::vector<std::uint8_t> small(static_cast<std::size_t>(prog.get_size()) - 1, 0xAA);
    EXPECT_EQ(prog.write(small), bank_err::dst_too_small);
    EXPECT_EQ(small, std::vector<std::uint8_t>(small.size(), 0xAA)) << "nothing written";

    prog.use_values().resize(ProgramSlot::max_nbr_values + 1);
    std::vector<std::uint8_t> big(static_cast<std::size_t>(prog.get_size()));
    EXPECT_EQ(prog.write(big), bank_err::not_representable) << "values are counted in 16 bits";
}
