#include "basic/FileWriter.hpp"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <ostream>
#include <set>
#include <string>
#include <thread>

#include "basic/ChildProcess.hpp"
#include "basic/ConfErr.hpp"
#include "basic/FileWriterCheck.hpp"
#include "basic/TempFolder.hpp"
#include "basic/TextFile.hpp"

using basic::FileWriter;
using test::content_of;
using test::save_in_pieces;
using test::TempFolder;

namespace
{

// Two writers of unequal sizes: a mix of the two, or one cut short, matches neither.
const std::string content_a = content_of('a', 150000);
const std::string content_b = content_of('b', 100000);

bool is_whole(const std::string& seen)
{
    return seen == content_a || seen == content_b;
}

} // namespace

TEST(FileWriter, CreatesAndReplacesWithExactlyTheBytesWritten)
{
    TempFolder folder;
    const std::string file = folder.path("s.cfg.txt");
    EXPECT_FALSE(basic::is_existing_file(file));
    EXPECT_EQ(basic::write_text_file_atomic(file, "first\r\nversion"), basic::conf_err::ok);
    EXPECT_EQ(TempFolder::read(file), "first\r\nversion");
    EXPECT_TRUE(basic::is_existing_file(file));
    EXPECT_EQ(save_in_pieces(file, content_b), FileWriter::Step::none);
    EXPECT_EQ(TempFolder::read(file), content_b);
    {
        FileWriter abandoned(file);
        EXPECT_TRUE(abandoned.write("lost", 4));
    }
    EXPECT_EQ(TempFolder::read(file), content_b) << "a save never committed changes nothing";
    EXPECT_EQ(folder.list(), std::set<std::string>{"s.cfg.txt"}) << "a temporary file was left";
}

// Two instances of the plug-in in one host save the same file at once, while a third reads it.
TEST(FileWriter, ThreadsSavingOneFileLeaveAWholeFileOfOneOfThem)
{
    TempFolder folder;
    const std::string file = folder.path("bank.pbk");
    ASSERT_EQ(save_in_pieces(file, content_a), FileWriter::Step::none);
    std::atomic<int> failed{0};
    std::atomic<int> running{2};
    auto save_rounds = [&](const std::string& content)
    {
        for (int round = 0; round < 40; ++round)
        {
            failed += save_in_pieces(file, content) != FileWriter::Step::none;
        }
        --running;
    };
    std::thread writer_a(save_rounds, std::cref(content_a));
    std::thread writer_b(save_rounds, std::cref(content_b));
    int reads = 0;
    int broken = 0;
    while (running > 0)
    {
        broken += !is_whole(TempFolder::read(file));
        ++reads;
    }
    writer_a.join();
    writer_b.join();

    EXPECT_EQ(failed, 0) << "saves failed";
    EXPECT_EQ(broken, 0) << "reads out of " << reads << " saw a mixed or cut file";
    EXPECT_TRUE(is_whole(TempFolder::read(file)));
    EXPECT_EQ(folder.list(), std::set<std::string>{"bank.pbk"}) << "a temporary file was left";
}

// Two hosts save the same file at once: a peer process saves its content while this one saves
// its own and reads between its saves, for as long as the peer runs.
TEST(FileWriter, ProcessesSavingOneFileLeaveAWholeFileOfOneOfThem)
{
    TempFolder folder;
    const std::string file = folder.path("bank.pbk");
    ASSERT_EQ(save_in_pieces(file, content_a), FileWriter::Step::none);
    test::ChildProcess peer({FILE_WRITER_PEER, file, "b", std::to_string(content_b.size()), "100"});
    int rounds = 0;
    int failed = 0;
    int broken = 0;
    do
    {
        failed += save_in_pieces(file, content_a) != FileWriter::Step::none;
        broken += !is_whole(TempFolder::read(file));
        ++rounds;
    } while (peer.is_running());

    EXPECT_EQ(peer.wait(), 0) << "the peer's saves failed, or it did not run";
    EXPECT_EQ(failed, 0) << "saves failed";
    EXPECT_EQ(broken, 0) << "reads out of " << rounds << " saw a mixed or cut file";
    EXPECT_TRUE(is_whole(TempFolder::read(file)));
    EXPECT_EQ(folder.list(), std::set<std::string>{"bank.pbk"}) << "a temporary file was left";
}

namespace
{

struct FailedSave
{
    const char* what;
    const char* target;
    // Puts the old file, and what blocks the save, in the folder; answers why the case cannot
    // run, or null.
    const char* (*arrange)(const TempFolder& folder);
    FileWriter::Step step;
};

void PrintTo(const FailedSave& param, std::ostream* os)
{
    *os << param.what;
}

class FileWriterFailure : public testing::TestWithParam<FailedSave>
{
};

} // namespace

TEST_P(FileWriterFailure, LeavesTheFolderAsItWasAndAnswersTheFailingStep)
{
    const FailedSave& failure = GetParam();
    TempFolder folder;
    if (const char* reason = failure.arrange(folder))
    {
        GTEST_SKIP() << reason;
    }
    test::expect_failed_saves(folder, folder.path(failure.target), "new", failure.step);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FileWriterFailure,
    testing::Values(FailedSave{"a file in place of the folder", "dir/s.cfg.txt",
                               [](const TempFolder& folder) -> const char*
                               {
                                   TempFolder::write(folder.path("dir"), "kept");
                                   return nullptr;
                               },
                               FileWriter::Step::create},
                    FailedSave{"a folder in place of the file", "s.cfg.txt",
                               [](const TempFolder& folder) -> const char*
                               {
                                   std::filesystem::create_directory(folder.path("s.cfg.txt"));
                                   TempFolder::write(folder.path("s.cfg.txt/inside"), "kept");
                                   return nullptr;
                               },
                               FileWriter::Step::replace},
                    FailedSave{
                        "a read-only file", "s.cfg.txt",
                        [](const TempFolder& folder) -> const char*
                        {
                            const std::string file = folder.path("s.cfg.txt");
                            TempFolder::write(file, "old");
                            std::filesystem::permissions(file,
                                                         std::filesystem::perms::owner_write |
                                                             std::filesystem::perms::group_write |
                                                             std::filesystem::perms::others_write,
                                                         std::filesystem::perm_options::remove);
                            return std::ofstream(file, std::ios::app)
                                       ? "this user writes read-only files (root), so the file is "
                                         "replaced like any other"
                                       : nullptr;
                        },
                        FileWriter::Step::create}));
