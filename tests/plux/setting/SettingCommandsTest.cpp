#include "plux/setting/SettingCommands.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "basic/FakeSettingClient.hpp"
#include "basic/TempFolder.hpp"
#include "plux/setting/SettingAutoload.hpp"
#include "plux/setting/SettingMgr.hpp"
#include "plux/vst2/TestEffect.hpp"
#include "sys/FakeDialogs.hpp"
#include "sys/RegistrySandbox.hpp"

using plux::SettingCommands;
using sys::FileSelectorInterface;
using sys::MessageBoxInterface;
using testing::ElementsAre;

namespace
{

class SettingCommandsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(mgr.init(dsp), 0);
        mgr.add_client(client);
        SettingCommands::setup_file_selector(selector);
        selector.chosen = folder.path("chosen.cfg.txt");
    }

    std::string latest()
    {
        std::string path;
        return mgr.use_autoload().get_latest_config_file(path) == 0 ? path : "(none)";
    }

    plux_test::TestDsp dsp{{.manufacturer = test::sandbox_key_path()}};
    plux::SettingMgr mgr;
    test::FakeSettingClient client{"k", "v"};
    test::TempFolder folder;
    test::FakeSelector selector;
    test::FakeBox box;
};

} // namespace

// The selector offers only setting files; what is saved through it loads back, and each file
// that worked is remembered for autoload.
TEST_F(SettingCommandsTest, SavesAndLoadsTheChosenFileAndRemembersIt)
{
    selector.add_filter("Other", "*.x");
    selector.set_filter_index(1);
    SettingCommands::setup_file_selector(selector);
    ASSERT_EQ(selector.get_nbr_filters(), 1);
    EXPECT_EQ(selector.use_filter(0).first, "Tarvex plug-in setting file (*.cfg.txt)");
    EXPECT_EQ(selector.use_filter(0).second, "*.cfg.txt");
    EXPECT_EQ(selector.get_filter_index(), 0);

    EXPECT_EQ(SettingCommands::save_settings_cmd(mgr, selector, box), SettingCommands::res_done);
    EXPECT_EQ(test::TempFolder::read(selector.chosen),
              "Morvane_config_section =\n{\n   version = 1.60\n   k = v\n}");
    EXPECT_EQ(latest(), selector.chosen);
    mgr.use_autoload().set_latest_config_file("");
    EXPECT_EQ(SettingCommands::load_settings_cmd(mgr, selector, box), SettingCommands::res_done);
    EXPECT_EQ(client.loaded, "v");
    EXPECT_EQ(latest(), selector.chosen);
    EXPECT_THAT(selector.calls, ElementsAre("save Save Setting File", "load Load Setting File"));
    EXPECT_THAT(box.shown, ElementsAre());
}

TEST_F(SettingCommandsTest, ACancelledDialogDoesNothing)
{
    selector.answer = FileSelectorInterface::res_cancelled;
    EXPECT_EQ(SettingCommands::save_settings_cmd(mgr, selector, box), SettingCommands::res_stopped);
    EXPECT_EQ(SettingCommands::load_settings_cmd(mgr, selector, box), SettingCommands::res_stopped);
    EXPECT_THAT(box.shown, ElementsAre());
    EXPECT_EQ(client.nbr_loads, 0);
    EXPECT_EQ(latest(), "(none)");
}

TEST_F(SettingCommandsTest, AnExistingFileIsReplacedOnlyAfterOk)
{
    test::TempFolder::write(selector.chosen, "previous");
    for (const int answer : {MessageBoxInterface::res_cancel, MessageBoxInterface::res_failed})
    {
        box.answer = answer;
        EXPECT_EQ(SettingCommands::save_settings_cmd(mgr, selector, box),
                  SettingCommands::res_stopped);
        EXPECT_EQ(test::TempFolder::read(selector.chosen), "previous") << "answer " << answer;
    }
    box.answer = MessageBoxInterface::res_ok;
    EXPECT_EQ(SettingCommands::save_settings_cmd(mgr, selector, box), SettingCommands::res_done);
    EXPECT_NE(test::TempFolder::read(selector.chosen), "previous");
    ASSERT_EQ(box.shown.size(), 3U);
    EXPECT_EQ(box.shown[0], "Conflict|" + selector.chosen + "\nalready exists. Overwrite ?|1|1");
}

TEST_F(SettingCommandsTest, FailuresAreShownWithThePathAndTheCode)
{
    selector.set_path("C:\\old.cfg.txt");
    selector.answer = FileSelectorInterface::res_failed;
    EXPECT_EQ(SettingCommands::save_settings_cmd(mgr, selector, box), -1024);

    selector.answer = FileSelectorInterface::res_chosen;
    selector.chosen = folder.path("missing folder/s.cfg.txt");
    EXPECT_EQ(SettingCommands::save_settings_cmd(mgr, selector, box), -1018);
    EXPECT_EQ(SettingCommands::load_settings_cmd(mgr, selector, box), -1020);

    selector.chosen = folder.path("other.cfg.txt");
    test::TempFolder::write(selector.chosen, "Other_config_section = { }");
    EXPECT_EQ(SettingCommands::load_settings_cmd(mgr, selector, box), -3071);

    EXPECT_THAT(
        box.shown,
        ElementsAre("Error|Can't save configuration file\nC:\\old.cfg.txt\n\nCode -1024|0|0",
                    "Error|Can't save configuration file\n" +
                        folder.path("missing folder/s.cfg.txt") + "\n\nCode -1018|0|0",
                    "Error|Can't load configuration file\n" +
                        folder.path("missing folder/s.cfg.txt") + "\n\nCode -1020|0|0",
                    "Error|Can't load configuration file\n" + selector.chosen +
                        "\n\nCode -3071|0|0"));
    EXPECT_EQ(latest(), "(none)") << "only a file that worked is remembered";
}
