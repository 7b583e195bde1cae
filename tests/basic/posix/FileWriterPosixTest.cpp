#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "basic/FileWriter.hpp"
#include "basic/FileWriterCheck.hpp"
#include "basic/TempFolder.hpp"
#include "basic/posix/FileSizeLimit.hpp"

using basic::FileWriter;
using test::save_in_pieces;
using test::TempFolder;

namespace
{

struct stat stat_of(const std::string& path)
{
    struct stat st = {};
    ::stat(path.c_str(), &st);
    return st;
}

// A disk of its own, a tmpfs of 64 KiB mounted on a folder, which can be filled or made
// read-only. Mounting takes root with the right to mount, which most containers do not give.
struct SmallDisk
{
    explicit SmallDisk(std::string path)
        : folder(std::move(path))
        , mounted(std::filesystem::create_directory(folder) &&
                  ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k,mode=0755") == 0)
    {
    }
    ~SmallDisk() { ::umount2(folder.c_str(), MNT_DETACH); }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool make_read_only() const
    {
        return ::mount("tmpfs", folder.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=64k") == 0;
    }

    const std::string folder;
    const bool mounted;
};

} // namespace

TEST(FileWriterPosix, TheNewFileKeepsTheRightsOfTheOldOne)
{
    TempFolder folder;
    const std::string file = folder.path("s.cfg.txt");
    TempFolder::write(file, "old");
    for (const mode_t mode : {0600, 0640, 0604})
    {
        ::chmod(file.c_str(), mode);
        EXPECT_EQ(save_in_pieces(file, "new"), FileWriter::Step::none);
        EXPECT_EQ(stat_of(file).st_mode & 07777, mode) << std::oct << "mode 0" << mode;
    }
    if (::geteuid() == 0)
    {
        ASSERT_EQ(::chown(file.c_str(), 1, 2), 0);
        EXPECT_EQ(save_in_pieces(file, "new"), FileWriter::Step::none);
        EXPECT_EQ(stat_of(file).st_uid, 1u) << "root keeps the owner";
        EXPECT_EQ(stat_of(file).st_gid, 2u) << "root keeps the group";
    }

    // A new file has the rights of any new file of the user.
    const mode_t saved_mask = ::umask(027);
    EXPECT_EQ(save_in_pieces(folder.path("new.cfg.txt"), "new"), FileWriter::Step::none);
    ::umask(saved_mask);
    EXPECT_EQ(stat_of(folder.path("new.cfg.txt")).st_mode & 07777, 0640u);
}

TEST(FileWriterPosix, ALinkKeepsPointingAtTheReplacedFile)
{
    TempFolder folder;
    const std::string target = folder.path("real.cfg.txt");
    const std::string link = folder.path("link.cfg.txt");
    TempFolder::write(target, "old");
    ::chmod(target.c_str(), 0640);
    std::filesystem::create_symlink("real.cfg.txt", link);
    EXPECT_EQ(save_in_pieces(link, "new"), FileWriter::Step::none);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(TempFolder::read(target), "new");
    EXPECT_EQ(stat_of(target).st_mode & 07777, 0640u);
}

// A write cut short (as by a full disk, for root as well), a full disk, then a read-only file
// and a read-only folder. Root opens any file for writing and writes in any folder whatever
// their modes: for root a read-only file is replaced like any other, and the read-only folder
// is a read-only disk.
TEST(FileWriterPosix, EachFailureLeavesTheFolderAsItWas)
{
    TempFolder folder;
    const SmallDisk disk(folder.path("disk"));
    const std::string file = folder.path("disk/s.cfg.txt");
    TempFolder::write(file, std::string(30000, 'o'));
    {
        const test::FileSizeLimit limit(4096);
        test::expect_failed_saves(folder, file, std::string(100000, 'x'), FileWriter::Step::write);
    }
    if (disk.mounted)
    {
        test::expect_failed_saves(folder, file, std::string(40000, 'x'), FileWriter::Step::write);
    }
    if (::geteuid() != 0)
    {
        ::chmod(file.c_str(), 0444);
        test::expect_failed_saves(folder, file, "new", FileWriter::Step::create);
        ::chmod(file.c_str(), 0644);
        ::chmod(disk.folder.c_str(), 0555);
    }
    else if (!disk.make_read_only())
    {
        GTEST_SKIP() << "no read-only folder for root: a tmpfs cannot be mounted here";
    }
    test::expect_failed_saves(folder, file, "new", FileWriter::Step::create);
}
