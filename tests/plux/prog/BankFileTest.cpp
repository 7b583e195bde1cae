#include "plux/prog/BankFile.hpp"

#include <algorithm>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <ostream>
#include <vector>

#include "plux/prog/BankErr.hpp"
#include "plux/prog/ProgTestUtil.hpp"

using namespace plux;
using prog_test::bytes_of;
using prog_test::make_bank;
using prog_test::read_file;
using prog_test::TempDir;
using prog_test::write_file;
using testing::_;
using testing::Return;

namespace
{

void set_body_length(std::vector<std::uint8_t>& bytes, std::uint32_t len)
{
    for (int i = 0; i < 4; ++i)
    {
        bytes[4 + i] = static_cast<std::uint8_t>(len >> (24 - 8 * i));
    }
}

std::vector<std::uint8_t> file_bytes(const BankManager& bank)
{
    const auto body = bytes_of(bank);
    std::vector<std::uint8_t> bytes(8 + body.size());
    std::copy(std::begin(bank_magic), std::end(bank_magic), bytes.begin());
    set_body_length(bytes, static_cast<std::uint32_t>(body.size()));
    std::copy(body.begin(), body.end(), bytes.begin() + 8);
    return bytes;
}

class MockBankCheck : public BankCheckInterface
{
public:
    MOCK_METHOD(bool, check_bank, (const BankManager& bank), (const, override));
};

class MockSerializable : public basic::SerializableInterface
{
public:
    MOCK_METHOD(int, read, (std::span<const std::uint8_t> src), (override));
    MOCK_METHOD(int, write, (std::span<std::uint8_t> dst), (const, override));
    MOCK_METHOD(int, get_size, (), (const, override));
};

} // namespace

TEST(BankFile, SavedEightProgramBankIs880BytesAndLoadsBack)
{
    const TempDir dir;
    const std::string path = dir.file("bank.pbk");
    const BankManager bank = make_bank(8, 8);
    ASSERT_EQ(save_bank_file(path, bank), bank_err::ok);
    const auto bytes = read_file(path);
    ASSERT_EQ(bytes.size(), 880u);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 8),
              (std::vector<std::uint8_t>{0x51, 0x42, 0x4E, 0x4B, 0x00, 0x00, 0x03, 0x68}));
    EXPECT_EQ(bytes, file_bytes(bank));
    EXPECT_EQ(dir.count_files(), 1) << "no temporary file left";

    BankManager loaded;
    ASSERT_EQ(load_bank_file(path, loaded, nullptr, false), bank_err::ok);
    EXPECT_EQ(bytes_of(loaded), bytes_of(bank));

    ASSERT_EQ(save_bank_file(path, make_bank(2, 1)), bank_err::ok);
    EXPECT_EQ(read_file(path), file_bytes(make_bank(2, 1))) << "an existing file is replaced";
}

struct BadFile
{
    const char* what;
    std::vector<std::uint8_t> bytes;
    int code;
};

void PrintTo(const BadFile& param, std::ostream* os)
{
    *os << param.what;
}

class BankFileBadFile : public testing::TestWithParam<BadFile>
{
};

// Both loaders answer the same code for the same bytes (the memory loader has no file to run
// short of) and leave the target as it was.
TEST_P(BankFileBadFile, IsRefusedWithItsCodeAndChangesNothing)
{
    const BadFile& bad = GetParam();
    const TempDir dir;
    const std::string path = dir.file("bad.pbk");
    write_file(path, bad.bytes);
    BankManager target = make_bank(8, 8);
    const auto before = bytes_of(target);

    EXPECT_EQ(load_bank_file(path, target, nullptr, false), bad.code) << bad.what;
    if (bad.code != bank_err::body_read_short)
    {
        EXPECT_EQ(load_bank_mem(bad.bytes, target, nullptr, false), bad.code) << bad.what;
    }
    EXPECT_EQ(bytes_of(target), before) << bad.what;
}

namespace
{

BadFile patched(const char* what, std::size_t pos, std::uint8_t byte, int code)
{
    auto bytes = file_bytes(make_bank(8, 8));
    bytes[pos] = byte;
    return {what, bytes, code};
}

BadFile with_length(const char* what, std::uint32_t len, std::size_t file_size, int code)
{
    auto bytes = file_bytes(make_bank(8, 8));
    bytes.resize(file_size);
    set_body_length(bytes, len);
    return {what, bytes, code};
}

} // namespace

INSTANTIATE_TEST_SUITE_P(
    Files, BankFileBadFile,
    testing::Values(BadFile{"empty file", {}, bank_err::header_read_short},
                    BadFile{
                        "7-byte file", {'Q', 'B', 'N', 'K', 0, 0, 3}, bank_err::header_read_short},
                    patched("wrong magic", 3, 'C', bank_err::bad_magic),
                    patched("lower-case magic", 0, 'q', bank_err::bad_magic),
                    with_length("length beyond the file", 873, 880, bank_err::body_read_short),
                    with_length("file cut inside the body", 872, 500, bank_err::body_read_short),
                    with_length("header only", 872, 8, bank_err::body_read_short),
                    with_length("length of 4 GB", 0xFFFFFFFF, 880, bank_err::body_read_short),
                    with_length("records run past the length", 871, 880, bank_err::body_unparsable),
                    with_length("empty body", 0, 8, bank_err::body_unparsable),
                    patched("program count beyond the body", 11, 9, bank_err::body_unparsable)));

TEST(BankFile, MemoryBodyEndsAtTheLengthOrTheDataWhicheverComesFirst)
{
    auto bytes = file_bytes(make_bank(3, 2));
    BankManager target;
    set_body_length(bytes, 0x7FFFFFFF);
    EXPECT_EQ(load_bank_mem(bytes, target, nullptr, false), bank_err::ok)
        << "the records fit in the data";
    EXPECT_EQ(target.get_nbr_prog(), 3);

    bytes.push_back(0);
    set_body_length(bytes, static_cast<std::uint32_t>(bytes.size() - 10));
    EXPECT_EQ(load_bank_mem(bytes, target, nullptr, false), bank_err::body_unparsable)
        << "the last record ends one byte after L";
    EXPECT_EQ(load_bank_mem(std::span(bytes).first(7), target, nullptr, false),
              bank_err::header_read_short);
}

TEST(BankFile, MissingFileAnswersOpenFailure)
{
    BankManager target;
    EXPECT_EQ(load_bank_file(TempDir().file("none.pbk"), target, nullptr, false),
              bank_err::open_failed);
}

struct Shape
{
    const char* what;
    int nbr_prog;
    int nbr_values;
    int code;
};

void PrintTo(const Shape& param, std::ostream* os)
{
    *os << param.what;
}

class BankFileStrict : public testing::TestWithParam<Shape>
{
};

// The target has the shape of the preset memory: 8 programs of 8 values.
TEST_P(BankFileStrict, DemandsTheTargetsShape)
{
    const Shape& shape = GetParam();
    const auto bytes = file_bytes(make_bank(shape.nbr_prog, shape.nbr_values));
    BankManager target = make_bank(8, 8);
    target.use_prog(0).set_name("Untouched");
    const auto before = bytes_of(target);

    EXPECT_EQ(load_bank_mem(bytes, target, nullptr, true), shape.code) << shape.what;
    if (shape.code == bank_err::ok)
    {
        EXPECT_STREQ(target.use_prog(0).get_name(), "Program 0");
        return;
    }
    EXPECT_EQ(bytes_of(target), before) << shape.what;
    EXPECT_EQ(load_bank_mem(bytes, target, nullptr, false), bank_err::ok)
        << "without strict the bank is taken as it is";
    EXPECT_EQ(target.get_nbr_prog(), shape.nbr_prog);
}

INSTANTIATE_TEST_SUITE_P(Shapes, BankFileStrict,
                         testing::Values(Shape{"same shape", 8, 8, bank_err::ok},
                                         Shape{"16 programs", 16, 8, bank_err::prog_count_mismatch},
                                         Shape{"7 programs", 7, 8, bank_err::prog_count_mismatch},
                                         Shape{"7 values", 8, 7, bank_err::value_count_mismatch},
                                         Shape{"9 values", 8, 9, bank_err::value_count_mismatch}));

TEST(BankFile, CheckSeesTheParsedBankAndMayRefuseIt)
{
    const auto bytes = file_bytes(make_bank(4, 2));
    BankManager target = make_bank(8, 8);
    const auto before = bytes_of(target);

    MockBankCheck check;
    EXPECT_CALL(check, check_bank(testing::Property(&BankManager::get_nbr_prog, 4)))
        .WillOnce(Return(false))
        .WillOnce(Return(true));
    EXPECT_EQ(load_bank_mem(bytes, target, &check, false), bank_err::check_refused);
    EXPECT_EQ(bytes_of(target), before);
    EXPECT_EQ(load_bank_mem(bytes, target, &check, false), bank_err::ok);
    EXPECT_EQ(target.get_nbr_prog(), 4);
    EXPECT_EQ(load_bank_mem(std::span(bytes).first(100), target, &check, false),
              bank_err::body_unparsable)
        << "a bank that does not parse is not shown to the check";
}

// Each failing step answers its code and keeps the bank file that was there.
TEST(BankFile, FailedSaveAnswersTheCodeOfItsStepAndKeepsThePreviousFile)
{
    const TempDir dir;
    EXPECT_EQ(save_bank_file(dir.file("no_such_folder/bank.pbk"), make_bank(1, 1)),
              bank_err::open_failed);
    // A folder where the file should go: the complete temporary file cannot replace it.
    std::filesystem::create_directory(dir.file("taken.pbk"));
    EXPECT_EQ(save_bank_file(dir.file("taken.pbk"), make_bank(1, 1)), bank_err::open_failed);

    const std::string path = dir.file("bank.pbk");
    ASSERT_EQ(save_bank_file(path, make_bank(8, 8)), bank_err::ok);
    const auto before = read_file(path);
    BankManager uneven = make_bank(8, 8);
    uneven.use_prog(5).use_values().push_back(1.0f);
    EXPECT_EQ(save_bank_file(path, uneven), bank_err::layout_failed);
    MockSerializable refusing;
    EXPECT_CALL(refusing, get_size()).WillRepeatedly(Return(16));
    EXPECT_CALL(refusing, write(_)).WillOnce(Return(-1));
    EXPECT_EQ(save_bank_file(path, refusing), bank_err::layout_failed);
    EXPECT_EQ(read_file(path), before);
    EXPECT_EQ(dir.count_files(), 2) << "a temporary file was left";
}
