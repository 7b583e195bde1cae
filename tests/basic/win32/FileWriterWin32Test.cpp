#include <windows.h>

#include <gtest/gtest.h>
#include <string>

#include "basic/FileWriter.hpp"
#include "basic/FileWriterCheck.hpp"
#include "basic/TempFolder.hpp"

using basic::FileWriter;
using test::save_in_pieces;
using test::TempFolder;

TEST(FileWriterWin32, AHiddenFileStaysHidden)
{
    TempFolder folder;
    const std::string file = folder.path("s.cfg.txt");
    TempFolder::write(file, "old");
    ASSERT_TRUE(::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(save_in_pieces(file, "new"), FileWriter::Step::none);
    EXPECT_EQ(TempFolder::read(file), "new");
    EXPECT_NE(::GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);

    EXPECT_EQ(save_in_pieces(folder.path("plain.cfg.txt"), "new"), FileWriter::Step::none);
    EXPECT_EQ(::GetFileAttributesA(folder.path("plain.cfg.txt").c_str()) & FILE_ATTRIBUTE_HIDDEN,
              0u);
}

TEST(FileWriterWin32, AReadOnlyFileFailsAtTheCreation)
{
    TempFolder folder;
    const std::string file = folder.path("s.cfg.txt");
    TempFolder::write(file, "old");
    ASSERT_TRUE(::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
    test::expect_failed_saves(folder, file, "new", FileWriter::Step::create);
}

TEST(FileWriterWin32, ALinkKeepsPointingAtTheReplacedFile)
{
    TempFolder folder;
    const std::string target = folder.path("real.cfg.txt");
    const std::string link = folder.path("link.cfg.txt");
    TempFolder::write(target, "old");
    ::CreateSymbolicLinkA(link.c_str(), target.c_str(),
                          SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
    const DWORD attributes = ::GetFileAttributesA(link.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
    {
        GTEST_SKIP()
            << "this system makes no symbolic links (Windows without developer mode, or wine)";
    }
    EXPECT_EQ(save_in_pieces(link, "new"), FileWriter::Step::none);
    EXPECT_NE(::GetFileAttributesA(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
    EXPECT_EQ(TempFolder::read(target), "new");
}
