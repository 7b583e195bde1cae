#include <gtest/gtest.h>
#include <string>

#include "basic/TempFolder.hpp"
#include "basic/posix/FileSizeLimit.hpp"
#include "plux/prog/BankErr.hpp"
#include "plux/prog/BankFile.hpp"
#include "plux/prog/ProgTestUtil.hpp"

// The disk fills up part-way through the save: the code tells which piece was cut short.
TEST(BankFilePosix, AWriteCutShortAnswersTheCodeOfItsPiece)
{
    const test::TempFolder folder;
    for (const auto& [limit, code] : {std::pair{4, plux::bank_err::header_write_failed},
                                      std::pair{100, plux::bank_err::body_write_failed}})
    {
        const test::FileSizeLimit cut(limit);
        EXPECT_EQ(plux::save_bank_file(folder.path("bank.pbk"), prog_test::make_bank(8, 8)), code)
            << "cut at " << limit << " bytes";
    }
}
