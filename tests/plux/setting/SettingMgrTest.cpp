#include "plux/setting/SettingMgr.hpp"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

#include "basic/FakeSettingClient.hpp"
#include "basic/TempFolder.hpp"
#include "plux/setting/SettingAutoload.hpp"
#include "plux/vst2/TestEffect.hpp"
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
    }

    plux_test::TestDsp dsp{{.manufacturer = test::sandbox_key_path()}};
    SettingMgr mgr;
    FakeSettingClient a{"a", "1"};
    FakeSettingClient b{"b", "C:\\Program Files\\x.dll"};
    test::TempFolder folder;
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
