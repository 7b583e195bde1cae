#include "sys/FileSelector.hpp"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

#include "sys/posix/ProgramFolder.hpp"

using sys::FileSelector;
using sys::FileSelectorInterface;

namespace
{

// A fake desktop chooser alone on PATH: a script that records its arguments, one a line, and
// answers what the test asks for.
class FileSelectorChooser : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(programs.path().empty());
        selector.set_title("Load Setting File");
        selector.set_path("/home/ana/old set.cfg.txt");
        selector.add_filter("Setting file (*.cfg.txt)", "*.cfg.txt");
        selector.add_filter("Any", "*.txt,*.cfg;*");
        selector.set_filter_index(1);
    }

    void make_chooser(const std::string& name, const std::string& answer, int status)
    {
        programs.add_script(name, "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" +
                                      programs.path() + "/args'\nprintf '%s' '" + answer +
                                      "'\nexit " + std::to_string(status) + "\n");
    }

    std::string recorded_args() const
    {
        std::ifstream in(programs.path() + "/args");
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    test::ProgramFolder programs;
    FileSelector selector;
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
