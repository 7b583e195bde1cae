#include "basic/TextFile.hpp"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <utility>

#include "basic/ConfErr.hpp"
#include "basic/TempFolder.hpp"

using namespace basic;
using test::TempFolder;

TEST(TextFile, ReadsTheBytesWithALineFeedAfterTheLastLineOrFailsWithNothing)
{
    TempFolder folder;
    const std::string file = folder.path("a.cfg.txt");
    for (const auto& [bytes, expected] :
         {std::pair{"a = {\r\n b = 1\r\n}", "a = {\r\n b = 1\r\n}\n"}, std::pair{"x\n\n", "x\n\n"},
          std::pair{"", ""}})
    {
        TempFolder::write(file, bytes);
        std::string text = "stale";
        EXPECT_EQ(read_text_file(file, text), 0) << bytes;
        EXPECT_EQ(text, expected);
    }

    std::filesystem::create_directory(folder.path("folder"));
    TempFolder::write(folder.path("big"), std::string(max_text_file_size + 1, 'x'));
    for (const char* name : {"missing", "folder", "big"})
    {
        std::string text = "stale";
        EXPECT_EQ(read_text_file(folder.path(name), text), conf_err::file_open_read_failed) << name;
        EXPECT_EQ(text, "") << name;
    }
}
