#include "basic/TextFile.hpp"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>
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

TEST(TextFileWrite, CreatesAndReplacesWithExactlyTheTextAndLeavesNoTemporary)
{
    test::TempFolder folder;
    const std::string file = folder.path("s.cfg.txt");
    EXPECT_EQ(write_text_file_atomic(file, "first\r\nversion"), 0);
    EXPECT_EQ(test::TempFolder::read(file), "first\r\nversion");
    EXPECT_EQ(write_text_file_atomic(file, "second"), 0);
    EXPECT_EQ(test::TempFolder::read(file), "second");
    EXPECT_EQ(folder.list(), std::set<std::string>{"s.cfg.txt"});
    EXPECT_TRUE(is_existing_file(file));
    EXPECT_FALSE(is_existing_file(folder.path("other")));
}

TEST(TextFileWrite, FailsToOpenWhereNoFileCanTakeThePlace)
{
    test::TempFolder folder;
    EXPECT_EQ(write_text_file_atomic(folder.path("missing/s.cfg.txt"), "x"),
              conf_err::file_open_write_failed);

    // A folder cannot be replaced by a file: the temporary is written, then removed.
    std::filesystem::create_directory(folder.path("dir.cfg.txt"));
    test::TempFolder::write(folder.path("dir.cfg.txt/inside"), "kept");
    EXPECT_EQ(write_text_file_atomic(folder.path("dir.cfg.txt"), "x"),
              conf_err::file_open_write_failed);
    EXPECT_EQ(test::TempFolder::read(folder.path("dir.cfg.txt/inside")), "kept");
    EXPECT_EQ(folder.list(), std::set<std::string>{"dir.cfg.txt"});
}
