#include "sys/FileSelector.hpp"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using sys::FileSelector;
using sys::FileSelectorInterface;

namespace
{

// Puts a fake desktop chooser first on PATH: a script that records its arguments, one a line,
// and answers what the test asks for.
class FileSelectorChooser : public testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = std::filesystem::temp_directory_path() / "morvane_fs_XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        const char* path = std::getenv("PATH");
        saved_path = path != nullptr ? path : "";
        // Only the fake: a chooser installed on the machine must not answer instead.
        ::setenv("PATH", folder.c_str(), 1);

        selector.set_title("Load Setting File");
        selector.set_path("/home/ana/old set.cfg.txt");
        selector.add_filter("Setting file (*.cfg.txt)", "*.cfg.txt");
        selector.add_filter("Any", "*.txt,*.cfg;*");
        selector.set_filter_index(1);
    }

    void TearDown() override
    {
        ::setenv("PATH", saved_path.c_str(), 1);
        std::filesystem::remove_all(folder);
    }

    void make_chooser(const std::string& name, const std::string& answer, int status)
    {
        const std::string script = folder + "/" + name;
        std::ofstream(script) << "#!/bin/sh\n"
                              << "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" << folder
                              << "/args'\n"
                              << "printf '%s' '" << answer << "'\n"
                              << "exit " << status << "\n";
        ::chmod(script.c_str(), 0755);
    }

    std::string recorded_args() const
    {
        std::ifstream in(folder + "/args");
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    FileSelector selector;
    std::string folder;
    std::string saved_path;
};

} // namespace

TEST_F(FileSelectorChooser, ZenityGetsTitleStartAndFiltersAndItsChoiceBecomesCurrent)
{
    make_chooser("zenity", "/home/ana/new set.cfg.txt\n", 0);
    EXPECT_EQ(selector.select_save(), FileSelectorInterface::res_chosen);
    EXPECT_EQ(selector.get_path(), "/home/ana/new set.cfg.txt");
    EXPECT_EQ(selector.get_filter_index(), 1) << "the chooser does not tell the filter";
    EXPECT_EQ(recorded_args(), "--file-selection\n--title=Load Setting File\n--save\n"
                               "--filename=/home/ana/old set.cfg.txt\n"
                               "--file-filter=Setting file (*.cfg.txt) | *.cfg.txt\n"
                               "--file-filter=Any | *.txt *.cfg *\n");
}

TEST_F(FileSelectorChooser, KdialogServesWhenThereIsNoZenity)
{
    make_chooser("kdialog", "/tmp/chosen.cfg.txt\n", 0);
    EXPECT_EQ(selector.select_load(), FileSelectorInterface::res_chosen);
    EXPECT_EQ(selector.get_path(), "/tmp/chosen.cfg.txt");
    EXPECT_EQ(recorded_args(), "--title\nLoad Setting File\n--getopenfilename\n"
                               "/home/ana/old set.cfg.txt\n"
                               "*.cfg.txt|Setting file (*.cfg.txt)\n*.txt *.cfg *|Any\n");
}

// A chooser that fails, answers nothing or cannot be found shows no dialog.
TEST_F(FileSelectorChooser, CancelKeepsThePathAndFailureAnswersNoDialog)
{
    make_chooser("zenity", "", 1);
    EXPECT_EQ(selector.select_load(), FileSelectorInterface::res_cancelled);
    make_chooser("zenity", "", 5);
    EXPECT_EQ(selector.select_load(), FileSelectorInterface::res_failed);
    make_chooser("zenity", "", 0);
    EXPECT_EQ(selector.select_load(), FileSelectorInterface::res_failed) << "no file named";
    ::setenv("PATH", "", 1);
    EXPECT_EQ(selector.select_save(), FileSelectorInterface::res_failed);
    ::unsetenv("PATH");
    EXPECT_EQ(selector.select_load(), FileSelectorInterface::res_failed);
    EXPECT_EQ(selector.get_path(), "/home/ana/old set.cfg.txt");
}
