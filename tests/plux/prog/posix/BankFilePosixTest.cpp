#include <gtest/gtest.h>
#include <string>

#include "basic/posix/FileSizeLimit.hpp"
#include "plux/prog/BankErr.hpp"
#include "plux/prog/BankFile.hpp"
#include "plux/prog/ProgTestUtil.hpp"

using namespace plux;
using prog_test::make_bank;
using prog_test::read_file;
using prog_test::TempDir;

// The disk fills up part-way through the save: the code tells which piece was cut short, and the
// bank file that was there stays whole.
TEST(BankFilePosix, AWriteCutShortAnswersTheCodeOfItsPieceAndKeepsTheOldFile)
{
    const TempDir dir;
    const std::string path = dir.file("bank.pbk");
    ASSERT_EQ(save_bank_file(path, make_bank(2, 2)), bank_err::ok);
    const auto before = read_file(path);
    for (const auto& [limit, code] :
         {std::pair{4, bank_err::header_write_failed}, std::pair{100, bank_err::body_write_failed}})
    {
        const test::FileSizeLimit cut(limit);
        EXPECT_EQ(save_bank_file(path, make_bank(8, 8)), code) << "cut at " << limit << " bytes";
    }
    EXPECT_EQ(read_file(path), before);
    EXPECT_EQ(dir.count_files(), 1) << "a temporary file was left";
}
