#include "plux/prog/BankManager.hpp"

#include <algorithm>
#include <gtest/gtest.h>
#include <ostream>
#include <stdexcept>
#include <vector>

#include "basic/BigEndian.hpp"
#include "plux/prog/BankErr.hpp"
#include "plux/prog/ProgTestUtil.hpp"

using namespace plux;
using prog_test::bytes_of;
using prog_test::make_bank;

TEST(BankManager, EightProgramBankIs872BytesOfHeaderAndRecords)
{
    const BankManager bank = make_bank(8, 8);
    const auto bytes = bytes_of(bank);
    ASSERT_EQ(bytes.size(), 872u);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 8),
              (std::vector<std::uint8_t>{0, 0, 0, 8, 0, 0, 0, 108}))
        << "8 programs, records of 108 bytes";
    for (int i = 0; i < 8; ++i)
    {
        const auto rec = bytes_of(bank.use_prog(i));
        EXPECT_TRUE(std::equal(rec.begin(), rec.end(), bytes.begin() + 8 + i * 108))
            << "record " << i << " at 8 + i × 108";
    }

    BankManager copy;
    ASSERT_EQ(copy.read(bytes), 0);
    EXPECT_EQ(bytes_of(copy), bytes) << "round trip";
}

TEST(BankManager, ResizeAndReadSetTheProgramCount)
{
    BankManager bank = make_bank(1, 4);
    bank.resize(3);
    EXPECT_STREQ(bank.use_prog(0).get_name(), "Program 0");
    EXPECT_STREQ(bank.use_prog(2).get_name(), "Default") << "new programs are default programs";
    EXPECT_THROW(bank.resize(-1), std::invalid_argument);
    EXPECT_EQ(bank.get_nbr_prog(), 3);

    bank.resize(0);
    EXPECT_EQ(bytes_of(bank), std::vector<std::uint8_t>(8, 0)) << "an empty bank is its header";
    BankManager other = make_bank(2, 2);
    ASSERT_EQ(other.read(bytes_of(bank)), 0);
    EXPECT_EQ(other.get_nbr_prog(), 0);
}

TEST(BankManager, WriteRefusesProgramsOfUnequalSizesAndWritesNothing)
{
    BankManager bank = make_bank(3, 8);
    bank.use_prog(2).use_extra().push_back(1);
    std::vector<std::uint8_t> out(static_cast<std::size_t>(bank.get_size()), 0xAA);
    EXPECT_EQ(bank.write(out), bank_err::not_representable);
    EXPECT_EQ(out, std::vector<std::uint8_t>(out.size(), 0xAA));
}

struct MalformedBank
{
    const char* what;
    std::uint32_t nbr_prog;
    std::uint32_t rec_size;

    friend void PrintTo(const MalformedBank& param, std::ostream* os) { *os << param.what; }
};

class BankManagerMalformed : public testing::TestWithParam<MalformedBank>
{
};

// The header is patched into a valid bank of 3 records of 100 bytes.
TEST_P(BankManagerMalformed, IsRefusedAndChangesNothing)
{
    auto bytes = bytes_of(make_bank(3, 6));
    basic::big_endian::store_u32(&bytes[0], GetParam().nbr_prog);
    basic::big_endian::store_u32(&bytes[4], GetParam().rec_size);
    BankManager bank = make_bank(2, 4);
    const auto before = bytes_of(bank);
    EXPECT_LT(bank.read(bytes), 0) << GetParam().what;
    EXPECT_EQ(bytes_of(bank), before) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Headers, BankManagerMalformed,
    testing::Values(MalformedBank{"negative count", 0x80000000, 100},
                    MalformedBank{"negative record size", 3, 0xFFFFFF9C},
                    MalformedBank{"record size below the record header", 3, 11},
                    MalformedBank{"record larger than the record size", 3, 99},
                    MalformedBank{"more records than bytes", 4, 100},
                    MalformedBank{"count × size beyond 32 bits", 0x7FFFFFFF, 0x7FFFFFFF},
                    MalformedBank{"count × size wrapping to 0 in 32 bits", 0x40000000, 0x10}));

TEST(BankManager, EveryTruncationIsRefusedWithoutChange)
{
    const auto bytes = bytes_of(make_bank(8, 8));
    BankManager bank = make_bank(2, 3);
    const auto before = bytes_of(bank);
    for (std::size_t len = 0; len < bytes.size(); ++len)
    {
        ASSERT_LT(bank.read(std::span(bytes).first(len)), 0) << len << " bytes";
        ASSERT_EQ(bytes_of(bank), before) << len << " bytes";
    }
}
