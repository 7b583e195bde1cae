#include "plux/setting/SettingAutoload.hpp"

#include <gtest/gtest.h>
#include <string>

#include "basic/ConfErr.hpp"
#include "basic/FakeSettingClient.hpp"
#include "basic/TempFolder.hpp"
#include "plux/setting/SettingMgr.hpp"
#include "plux/vst2/TestEffect.hpp"
#include "sys/PersistentKeyList.hpp"
#include "sys/RegistrySandbox.hpp"

using plux::SettingAutoload;
using test::FakeSettingClient;

namespace
{

class SettingAutoloadTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(mgr.init(dsp), 0);
        mgr.add_client(client);
        autoload = &mgr.use_autoload();
    }

    // The value as the registry holds it, "(none)" when missing.
    std::string stored(const std::string& name) const
    {
        const sys::PersistentKeyList key(maker + "/Morvane/Autoload", true);
        std::string value;
        return key.get_string(name, value) == 0 ? value : "(none)";
    }

    void store(const std::string& name, const std::string& value)
    {
        sys::PersistentKeyList key(maker + "/Morvane/Autoload", true);
        ASSERT_EQ(key.set_string(name, value), 0);
    }

    const std::string maker = test::sandbox_key_path();
    plux_test::TestDsp dsp{{.manufacturer = maker}};
    plux::SettingMgr mgr;
    SettingAutoload* autoload = nullptr;
    FakeSettingClient client{"k", "saved"};
    test::TempFolder folder;
};

} // namespace

TEST_F(SettingAutoloadTest, WithNothingRecordedThereIsNoFileAndNoAutoload)
{
    std::string path = "stale";
    EXPECT_NE(autoload->get_latest_config_file(path), 0);
    EXPECT_EQ(path, "");
    EXPECT_FALSE(autoload->has_latest_config_file());
    EXPECT_FALSE(autoload->is_autoload());
    EXPECT_EQ(autoload->autoload(), 0);
    EXPECT_EQ(client.nbr_loads, 0);

    store("LatestConfigFile", "");
    EXPECT_FALSE(autoload->has_latest_config_file()) << "an empty record names no file";
}

TEST_F(SettingAutoloadTest, RecordsTheFileAndTheSwitchInTheRegistry)
{
    const std::string file = folder.path("a.cfg.txt");
    EXPECT_EQ(autoload->set_latest_config_file(file), 0);
    EXPECT_EQ(stored("LatestConfigFile"), file);
    std::string path;
    EXPECT_EQ(autoload->get_latest_config_file(path), 0);
    EXPECT_EQ(path, file);

    for (const bool on : {true, false})
    {
        EXPECT_EQ(autoload->set_autoload(on), 0);
        EXPECT_EQ(stored("LatestConfigAutoload"), on ? "1" : "0");
    }
    // Any recorded switch that does not start with '0' is on.
    for (const auto& [text, on] :
         {std::pair<const char*, bool>{"1", true}, {"yes", true}, {"", false}, {"01", false}})
    {
        store("LatestConfigAutoload", text);
        EXPECT_EQ(autoload->is_autoload(), on) << "recorded \"" << text << "\"";
    }
}

TEST_F(SettingAutoloadTest, LoadsTheRecordedFileOnlyWhenSwitchedOn)
{
    const std::string file = folder.path("last.cfg.txt");
    ASSERT_EQ(mgr.save(file), 0);
    autoload->set_latest_config_file(file);

    autoload->set_autoload(false);
    EXPECT_EQ(autoload->autoload(), 0);
    EXPECT_EQ(client.nbr_loads, 0) << "autoload is off";

    autoload->set_autoload(true);
    EXPECT_EQ(autoload->autoload(), 0);
    EXPECT_EQ(client.loaded, "saved");

    autoload->set_latest_config_file(folder.path("gone.cfg.txt"));
    EXPECT_EQ(autoload->autoload(), basic::conf_err::file_open_read_failed);
}
