#include "plux/setting/SettingDspMixin.hpp"

#include <gtest/gtest.h>
#include <string>

#include "basic/ConfErr.hpp"
#include "basic/TempFolder.hpp"
#include "plux/DspInterface.hpp"
#include "plux/setting/SettingAutoload.hpp"
#include "plux/setting/SettingTestPlugin.hpp"

TEST(SettingDspMixin, SetupRegistersTheHostsParameterOrderOnce)
{
    test::SettingTestHost host;
    test::SettingTestDsp dsp;
    dsp.set_host(&host);
    EXPECT_EQ(dsp.init(), 0);

    plux::SettingMgr* mgr = static_cast<plux::DspInterface&>(dsp).use_setting_mgr();
    ASSERT_EQ(mgr, dsp.use_setting_mgr());
    EXPECT_EQ(mgr->get_section_name(), "Morvane_config_section");
    // Removing it once leaves nothing behind: it was registered exactly once.
    EXPECT_EQ(mgr->remove_client(host.reorder), 0);
}

// What the frame does at the end of the plug-in's initialisation.
TEST(SettingDspMixin, TheFrameAutoloadsTheLastFileThroughTheDspSide)
{
    test::SettingTestHost host;
    test::SettingTestDsp dsp;
    dsp.set_host(&host);
    ASSERT_EQ(dsp.init(), 0);
    plux::DspInterface& frame_view = dsp;
    plux::SettingAutoload& autoload = frame_view.use_setting_mgr()->use_autoload();

    test::TempFolder folder;
    autoload.set_latest_config_file(folder.path("gone.cfg.txt"));
    autoload.set_autoload(true);
    EXPECT_EQ(frame_view.use_setting_mgr()->use_autoload().autoload(),
              basic::conf_err::file_open_read_failed);

    const std::string file = folder.path("s.cfg.txt");
    ASSERT_EQ(frame_view.use_setting_mgr()->save(file), 0);
    autoload.set_latest_config_file(file);
    EXPECT_EQ(frame_view.use_setting_mgr()->use_autoload().autoload(), 0);
}
