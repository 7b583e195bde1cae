#include "plux/setting/SettingDspMixin.hpp"

#include <gtest/gtest.h>

#include "effect/FakeHostDsp.hpp"
#include "plux/DspInterface.hpp"
#include "plux/vst2/TestEffect.hpp"
#include "sys/RegistrySandbox.hpp"

// The frame reaches the settings, autoload included, through the DSP side.
TEST(SettingDspMixin, SetupRegistersTheHostsParameterOrderOnce)
{
    FakeHostDsp host;
    plux_test::TestDsp dsp({.manufacturer = test::sandbox_key_path()});
    dsp.set_host(&host);
    EXPECT_EQ(dsp.init(), 0);

    plux::SettingMgr* mgr = static_cast<plux::DspInterface&>(dsp).use_setting_mgr();
    ASSERT_EQ(mgr, dsp.use_setting_mgr());
    EXPECT_EQ(mgr->get_section_name(), "Morvane_config_section");
    // Removing it once leaves nothing behind: it was registered exactly once.
    EXPECT_EQ(mgr->remove_client(host.reorder), 0);
}
