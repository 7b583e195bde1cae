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

// Two writers save one file at once, starting from a whole file of the first one, while a reader
// looks at it between saves.
class FileWriterRace : public testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(save_in_pieces(file, content_a), FileWriter::Step::none); }

    // Windows lets no reader in for a moment while the file is replaced; such a reader sees no
    // file rather than a broken one.
    void read_between_saves()
    {
        ++reads;
        std::FILE* in = std::fopen(file.c_str(), "rb");
        if (in == nullptr)
        {
            broken += errno != EACCES;
            return;
        }
        std::string seen;
        char buffer[65536];
        for (std::size_t len; (len = std::fread(buffer, 1, sizeof(buffer), in)) > 0;)
        {
            seen.append(buffer, len);
        }
        std::fclose(in);
        broken += !is_whole(seen);
    }

    void expect_a_whole_file_of_one_writer()
    {
        EXPECT_EQ(failed, 0) << "saves failed";
        EXPECT_EQ(broken, 0) << "reads out of " << reads << " saw a mixed, cut or missing file";
        EXPECT_TRUE(is_whole(TempFolder::read(file)));
        EXPECT_EQ(folder.list(), std::set<std::string>{"bank.pbk"}) << "a temporary file was left";
    }

    TempFolder folder;
    const std::string file = folder.path("bank.pbk");
    std::atomic<int> failed{0};
    int reads = 0;
    int broken = 0;
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

// Two instances of the plug-in in one host.
TEST_F(FileWriterRace, ThreadsLeaveAWholeFileOfOneOfThem)
{
    constexpr int rounds = 40;
    std::atomic<int> saved{0};
    auto save_rounds = [&](const std::string& content)
    {
        for (int round = 0; round < rounds; ++round)
        {
            failed += save_in_pieces(file, content) != FileWriter::Step::none;
            ++saved;
        }
    };
    std::thread writer_a(save_rounds, std::cref(content_a));
    std::thread writer_b(save_rounds, std::cref(content_b));
    // Reads once after each save, while the other writer is busy: a reader that never let go of
    // the file would keep Windows from replacing it.
    for (int seen = 0; seen < 2 * rounds;)
    {
        if (saved == seen)
        {
            std::this_thread::yield();
            continue;
        }
        seen = saved;
        read_between_saves();
    }
    writer_a.join();
    writer_b.join();
    expect_a_whole_file_of_one_writer();
}

// Two hosts: a peer process saves its content while this one saves its own and reads between its
// saves, for as long as the peer runs.
TEST_F(FileWriterRace, ProcessesLeaveAWholeFileOfOneOfThem)
{
    std::atomic<bool> peer_running{true};
    int peer_exit = -1;
    std::thread peer(
        [&]
        {
            peer_exit = test::run_program(
                {FILE_WRITER_PEER, file, "b", std::to_string(content_b.size()), "50"});
            peer_running = false;
        });
    do
    {
        failed += save_in_pieces(file, content_a) != FileWriter::Step::none;
        read_between_saves();
    } while (peer_running);
    peer.join();
    EXPECT_EQ(peer_exit, 0) << "the peer's saves failed, or it did not run";
    expect_a_whole_file_of_one_writer();
}

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
