#include "plux/prog/BankFile.hpp"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

#include "basic/BigEndian.hpp"
#include "basic/TempFolder.hpp"
#include "plux/prog/BankErr.hpp"
#include "plux/prog/ProgTestUtil.hpp"

using namespace plux;
using prog_test::bytes_of;
using prog_test::make_bank;
using test::TempFolder;
using testing::Return;

namespace
{

void set_body_length(std::vector<std::uint8_t>& bytes, std::uint32_t len)
{
    basic::big_endian::store_u32(&bytes[4], len);
}

// The file of a bank as the format lays it out, built without the code that saves it.
std::vector<std::uint8_t> file_bytes(const BankManager& bank)
{
    std::vector<std::uint8_t> bytes(std::begin(bank_magic), std::end(bank_magic));
    const auto body = bytes_of(bank);
    bytes.resize(8);
    set_body_length(bytes, static_cast<std::uint32_t>(body.size()));
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

std::string text_of(const std::vector<std::uint8_t>& bytes)
{
    return {bytes.begin(), bytes.end()};
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

struct BadFile
{
    const char* what;
    std::vector<std::uint8_t> bytes;
    int code;

    friend void PrintTo(const BadFile& param, std::ostream* os) { *os << param.what; }
};

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

class BankFileBadFile : public testing::TestWithParam<BadFile>
{
};

struct Shape
{
    const char* what;
    int nbr_prog;
    int nbr_values;
    int code;

    friend void PrintTo(const Shape& param, std::ostream* os) { *os << param.what; }
};

class BankFileStrict : public testing::TestWithParam<Shape>
{
};

} // namespace

TEST(BankFile, SavedEightProgramBankIs880BytesAndLoadsBack)
{
    const TempFolder folder;
    const std::string path = folder.path("bank.pbk");
    const BankManager bank = make_bank(8, 8);
    BankManager loaded;
    EXPECT_EQ(load_bank_file(path, loaded, nullptr, false), bank_err::open_failed) << "no file";
    ASSERT_EQ(save_bank_file(path, bank), bank_err::ok);
    const std::string bytes = TempFolder::read(path);
    ASSERT_EQ(bytes.size(), 880u);
    EXPECT_EQ(bytes.substr(0, 8), std::string("QBNK\0\0\x03\x68", 8));
    EXPECT_EQ(bytes, text_of(file_bytes(bank)));

    ASSERT_EQ(load_bank_file(path, loaded, nullptr, false), bank_err::ok);
    EXPECT_EQ(bytes_of(loaded), bytes_of(bank));

    ASSERT_EQ(save_bank_file(path, make_bank(2, 1)), bank_err::ok);
    EXPECT_EQ(TempFolder::read(path), text_of(file_bytes(make_bank(2, 1))))
        << "an existing file is replaced";
}

// Both loaders answer the same code for the same bytes (the memory loader has no file to run
// short of) and leave the target as it was.
TEST_P(BankFileBadFile, IsRefusedWithItsCodeAndChangesNothing)
{
    const BadFile& bad = GetParam();
    const TempFolder folder;
    const std::string path = folder.path("bad.pbk");
    TempFolder::write(path, text_of(bad.bytes));
    BankManager target = make_bank(8, 8);
    const auto before = bytes_of(target);

    EXPECT_EQ(load_bank_file(path, target, nullptr, false), bad.code);
    if (bad.code != bank_err::body_read_short)
    {
        EXPECT_EQ(load_bank_mem(bad.bytes, target, nullptr, false), bad.code);
    }
    EXPECT_EQ(bytes_of(target), before);
}

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

// The target has the shape of the preset memory: 8 programs of 8 values.
TEST_P(BankFileStrict, DemandsTheTargetsShape)
{
    const Shape& shape = GetParam();
    const auto bytes = file_bytes(make_bank(shape.nbr_prog, shape.nbr_values));
    BankManager target = make_bank(8, 8);
    target.use_prog(0).set_name("Untouched");
    const auto before = bytes_of(target);

    EXPECT_EQ(load_bank_mem(bytes, target, nullptr, true), shape.code);
    if (shape.code == bank_err::ok)
    {
        EXPECT_STREQ(target.use_prog(0).get_name(), "Program 0");
        return;
    }
    EXPECT_EQ(bytes_of(target), before);
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

// The writer keeps the file that was there whatever fails; the code tells the step.
TEST(BankFile, AFailedSaveAnswersTheCodeOfItsStep)
{
    const TempFolder folder;
    EXPECT_EQ(save_bank_file(folder.path("no_such_folder/bank.pbk"), make_bank(1, 1)),
              bank_err::open_failed);
    // A folder where the file should go: the complete temporary file cannot replace it.
    std::filesystem::create_directory(folder.path("taken.pbk"));
    EXPECT_EQ(save_bank_file(folder.path("taken.pbk"), make_bank(1, 1)), bank_err::open_failed);

    BankManager uneven = make_bank(8, 8);
    uneven.use_prog(5).use_values().push_back(1.0f);
    EXPECT_EQ(save_bank_file(folder.path("bank.pbk"), uneven), bank_err::layout_failed);
    testing::NiceMock<MockSerializable> oversized;
    ON_CALL(oversized, get_size()).WillByDefault(Return(-1));
    EXPECT_EQ(save_bank_file(folder.path("bank.pbk"), oversized), bank_err::layout_failed);
}
