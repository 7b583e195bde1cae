#include "basic/TextFile.hpp"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

#include "basic/ConfErr.hpp"
#include "basic/TempFolder.hpp"

using namespace basic;

TEST(TextFileRead, EndsEveryLineWithALineFeedAndKeepsTheBytes)
{
    test::TempFolder folder;
    const std::string file = folder.path("a.cfg.txt");
    std::string text = "stale";

    test::TempFolder::write(file, "a = {\r\n b = 1\r\n}");
    EXPECT_EQ(read_text_file(file, text), 0);
    EXPECT_EQ(text, "a = {\r\n b = 1\r\n}\n");

    test::TempFolder::write(file, "x\n\n");
    EXPECT_EQ(read_text_file(file, text), 0);
    EXPECT_EQ(text, "x\n\n");

    test::TempFolder::write(file, "");
    EXPECT_EQ(read_text_file(file, text), 0);
    EXPECT_EQ(text, "");
}

TEST(TextFileRead, FailsOnWhatIsNoReadableFile)
{
    test::TempFolder folder;
    std::string text = "stale";
    EXPECT_EQ(read_text_file(folder.path("missing.cfg.txt"), text),
              conf_err::file_open_read_failed);
    EXPECT_EQ(text, "");

    std::filesystem::create_directory(folder.path("dir.cfg.txt"));
    EXPECT_EQ(read_text_file(folder.path("dir.cfg.txt"), text), conf_err::file_open_read_failed);

    test::TempFolder::write(folder.path("big"), std::string(max_text_file_size + 1, 'x'));
    EXPECT_EQ(read_text_file(folder.path("big"), text), conf_err::file_open_read_failed);
    EXPECT_EQ(text, "");
}
