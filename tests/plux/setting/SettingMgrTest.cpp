// The setting manager, its autoload and the DSP side's road to them.
#include "plux/setting/SettingMgr.hpp"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

#include "basic/ConfErr.hpp"
#include "basic/FakeSettingClient.hpp"
#include "basic/TempFolder.hpp"
#include "effect/FakeHostDsp.hpp"
#include "plux/DspInterface.hpp"
#include "plux/setting/SettingAutoload.hpp"
#include "plux/vst2/TestEffect.hpp"
#include "sys/PersistentKeyList.hpp"
#include "sys/RegistrySandbox.hpp"

using plux::SettingMgr;
using test::FakeSettingClient;

namespace
{

struct InitCase
{
    const char* name;
    double version;
    const char* section;
    const char* version_text;

    friend void PrintTo(const InitCase& c, std::ostream* os) { *os << '"' << c.name << '"'; }
};

class SettingMgrInit : public testing::TestWithParam<InitCase>
{
};

class SettingMgrFile : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(mgr.init(dsp), 0);
        mgr.add_client(a);
        mgr.add_client(b);
        autoload = &mgr.use_autoload();
    }

    const std::string maker = test::sandbox_key_path();
    plux_test::TestDsp dsp{{.manufacturer = maker}};
    SettingMgr mgr;
    FakeSettingClient a{"a", "1"};
    FakeSettingClient b{"b", "C:\\Program Files\\x.dll"};
    test::TempFolder folder;
    plux::SettingAutoload* autoload = nullptr;
};

// The autoload values as the registry holds them, "(none)" when missing.
class SettingAutoloadTest : public SettingMgrFile
{
protected:
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
};

} // namespace

TEST_P(SettingMgrInit, NamesTheSectionAfterTheProductAndPrintsTheVersionWithTwoDecimals)
{
    const plux_test::TestDsp dsp(
        {.plugin_name = GetParam().name, .manufacturer = "Tarvex", .version = GetParam().version});
    SettingMgr mgr;
    EXPECT_EQ(mgr.init(dsp), 0);
    EXPECT_EQ(mgr.get_section_name(), GetParam().section);
    EXPECT_EQ(mgr.get_version(), GetParam().version_text);
    EXPECT_EQ(mgr.use_autoload().get_reg_path(), std::string("Tarvex/") + GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Products, SettingMgrInit,
                         testing::Values(InitCase{"Morvane", 1.6, "Morvane_config_section", "1.60"},
                                         InitCase{"My Plug-in 2", 1.0,
                                                  "My_Plug_in_2_config_section", "1.00"},
                                         InitCase{"", 12.345, "_config_section", "12.35"}));

TEST_F(SettingMgrFile, WithoutClientsTheFileHoldsOnlyTheVersion)
{
    mgr.clear_clients();
    const std::string file = folder.path("empty.cfg.txt");
    EXPECT_EQ(mgr.save(file), 0);
    EXPECT_EQ(test::TempFolder::read(file), "Morvane_config_section =\n{\n   version = 1.60\n}");
}

TEST_F(SettingMgrFile, ASavedFileLoadsBackIntoItsClientsWhateverThePathLength)
{
    const std::string file =
        folder.path(std::string(70, 'n') + " with spaces, commas and = signs.cfg.txt");
    ASSERT_EQ(mgr.save(file), 0);
    EXPECT_EQ(test::TempFolder::read(file),
              "Morvane_config_section =\n{\n   version = 1.60\n   a = 1\n"
              "   b = \"C:\\Program Files\\x.dll\"\n}");
    a.value = "changed";
    ASSERT_EQ(mgr.load(file), 0);
    EXPECT_EQ(a.loaded, "1");
    EXPECT_EQ(b.loaded, "C:\\Program Files\\x.dll");
}

TEST_F(SettingMgrFile, AFileOfAnotherProductChangesNoClient)
{
    const std::string file = folder.path("other.cfg.txt");
    test::TempFolder::write(file, "Other_config_section =\n{\n   version = 1.00\n   a = 2\n}");
    EXPECT_EQ(mgr.load(file), SettingMgr::err_other_product);
    EXPECT_EQ(a.nbr_loads, 0);
    EXPECT_EQ(b.nbr_loads, 0);
}

TEST_F(SettingMgrFile, ABareRootGivesEveryClientAnEmptyRoot)
{
    const std::string file = folder.path("bare.cfg.txt");
    test::TempFolder::write(file, "Morvane_config_section = { }");
    EXPECT_EQ(mgr.load(file), 0);
    for (const FakeSettingClient* client : {&a, &b})
    {
        EXPECT_EQ(client->nbr_loads, 1) << client->key;
        EXPECT_EQ(client->root_name, "Morvane_config_section") << client->key;
        EXPECT_EQ(client->root_nbr_keys, 0) << client->key;
    }
}

TEST_F(SettingAutoloadTest, WithNothingRecordedThereIsNoFileAndNoAutoload)
{
    std::string path = "stale";
    EXPECT_NE(autoload->get_latest_config_file(path), 0);
    EXPECT_EQ(path, "");
    EXPECT_FALSE(autoload->has_latest_config_file());
    EXPECT_FALSE(autoload->is_autoload());
    EXPECT_EQ(autoload->autoload(), 0);
    EXPECT_EQ(a.nbr_loads, 0);

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
    EXPECT_EQ(a.nbr_loads, 0) << "autoload is off";

    autoload->set_autoload(true);
    EXPECT_EQ(autoload->autoload(), 0);
    EXPECT_EQ(a.loaded, "1");

    autoload->set_latest_config_file(folder.path("gone.cfg.txt"));
    EXPECT_EQ(autoload->autoload(), basic::conf_err::file_open_read_failed);
}

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
