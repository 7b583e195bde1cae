#include "basic/FileWriter.hpp"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <thread>

#include "basic/ConfErr.hpp"
#include "basic/FileWriterCheck.hpp"
#include "basic/RunProgram.hpp"
#include "basic/TempFolder.hpp"
#include "basic/TextFile.hpp"

using basic::FileWriter;
using test::save_in_pieces;
using test::TempFolder;

namespace
{

// Two writers of unequal sizes: a mix of the two, or one cut short, matches neither.
const std::string content_a(150000, 'a');
const std::string content_b(100000, 'b');

bool is_whole(const std::string& seen)
{
    return seen == content_a || seen == content_b;
}

// Windows lets no reader in for a moment while the file is replaced; such a reader sees no file
// rather than a broken one.
bool reads_whole_or_nothing(const std::string& file)
{
    std::FILE* in = std::fopen(file.c_str(), "rb");
    if (in == nullptr)
    {
        return errno == EACCES;
    }
    std::string seen;
    char buffer[65536];
    for (std::size_t len; (len = std::fread(buffer, 1, sizeof(buffer), in)) > 0;)
    {
        seen.append(buffer, len);
    }
    std::fclose(in);
    return is_whole(seen);
}

// The other writer is a second instance of the plug-in in this host (a thread), or one in
// another host (a process).
class FileWriterRace : public testing::TestWithParam<bool>
{
};

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

// This process saves and reads between its saves for as long as the other writer runs.
TEST_P(FileWriterRace, LeavesAWholeFileOfOneWriter)
{
    TempFolder folder;
    const std::string file = folder.path("bank.pbk");
    ASSERT_EQ(save_in_pieces(file, content_a), FileWriter::Step::none);
    constexpr int rounds = 50;
    std::atomic<bool> other_running{true};
    int other_failed = -1;
    std::thread other(
        [&]
        {
            other_failed =
                GetParam()
                    ? test::run_program({FILE_WRITER_PEER, file, "b",
                                         std::to_string(content_b.size()), std::to_string(rounds)})
                    : test::save_rounds(file, content_b, rounds);
            other_running = false;
        });
    // A reader that never let go of the file would keep Windows from replacing it.
    int failed = 0;
    int reads = 0;
    int broken = 0;
    do
    {
        failed += save_in_pieces(file, content_a) != FileWriter::Step::none;
        ++reads;
        broken += !reads_whole_or_nothing(file);
    } while (other_running);
    other.join();
    EXPECT_EQ(other_failed, 0) << "the other writer's saves failed, or it did not run";
    EXPECT_EQ(failed, 0) << "saves failed";
    EXPECT_EQ(broken, 0) << "reads out of " << reads << " saw a mixed, cut or missing file";
    EXPECT_TRUE(is_whole(TempFolder::read(file)));
    EXPECT_EQ(folder.list(), std::set<std::string>{"bank.pbk"}) << "a temporary file was left";
}

INSTANTIATE_TEST_SUITE_P(Writers, FileWriterRace, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info)
                         { return info.param ? "Process" : "Thread"; });

TEST(FileWriter, AFailedSaveLeavesTheFolderAsItWasAndAnswersTheFailingStep)
{
    TempFolder folder;
    TempFolder::write(folder.path("dir"), "kept");
    test::expect_failed_saves(folder, folder.path("dir/s.cfg.txt"), "new",
                              FileWriter::Step::create);

    std::filesystem::create_directory(folder.path("s.cfg.txt"));
    TempFolder::write(folder.path("s.cfg.txt/inside"), "kept");
    test::expect_failed_saves(folder, folder.path("s.cfg.txt"), "new", FileWriter::Step::replace);
}
