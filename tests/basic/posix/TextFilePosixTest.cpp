#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <sys/resource.h>

#include "basic/ConfErr.hpp"
#include "basic/TempFolder.hpp"
#include "basic/TextFile.hpp"

using namespace basic;

namespace
{

// Limits the size of the files this process writes, so that writing fails part-way as on a
// full disk.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &saved);
        old_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, old_handler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved{};
    void (*old_handler)(int) = nullptr;
};

} // namespace

TEST(TextFileWriteFailure, AnInterruptedWriteLeavesThePreviousFileWhole)
{
    test::TempFolder folder;
    const std::string file = folder.path("s.cfg.txt");
    ASSERT_EQ(write_text_file_atomic(file, "previous"), 0);
    int code = 0;
    {
        const FileSizeLimit limit(4096);
        code = write_text_file_atomic(file, std::string(100000, 'x'));
    }
    EXPECT_EQ(code, conf_err::file_write_failed);
    EXPECT_EQ(test::TempFolder::read(file), "previous");
    EXPECT_EQ(folder.list(), std::set<std::string>{"s.cfg.txt"}) << "a temporary was left";
}

TEST(TextFileLink, ALinkKeepsPointingAtTheReplacedFile)
{
    test::TempFolder folder;
    const std::string target = folder.path("real.cfg.txt");
    const std::string link = folder.path("link.cfg.txt");
    test::TempFolder::write(target, "old");
    std::filesystem::create_symlink(target, link);
    EXPECT_EQ(write_text_file_atomic(link, "new"), 0);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(test::TempFolder::read(target), "new");
}
