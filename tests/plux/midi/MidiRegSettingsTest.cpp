#include "plux/midi/MidiRegSettings.hpp"

#include <gtest/gtest.h>
#include <string>

#include "sys/PersistentKeyList.hpp"
#include "sys/RegistrySandbox.hpp"

using plux::MidiRegSettings;

namespace
{

class MidiRegSettingsTest : public testing::Test
{
protected:
    std::string stored(const std::string& path, const char* name) const
    {
        const sys::PersistentKeyList key(path, true);
        std::string value;
        return key.get_string(name, value) == 0 ? value : "(none)";
    }
    void store(const std::string& path, const char* name, const std::string& value)
    {
        sys::PersistentKeyList key(path, true);
        ASSERT_EQ(key.set_string(name, value), 0);
    }

    const std::string maker = test::sandbox_key_path();
    const std::string product = maker + "/Morvane";
    MidiRegSettings reg{maker};
};

} // namespace

// The two values live under different keys: the product's and the maker's.
TEST_F(MidiRegSettingsTest, ReadsEachValueFromItsKey)
{
    store(product, "NRPN Compatibility", "0");
    store(maker, "Autobind Mode", "yes");
    reg.init("Morvane");
    EXPECT_EQ(reg.get_nrpn_compat(), 0);
    EXPECT_EQ(reg.get_autobind_mode(), 1) << "an invalid value reads as the default";
    EXPECT_EQ(stored(maker, "Autobind Mode"), "1") << "and the default is written back";
    EXPECT_EQ(reg.get_sub_path(), product);
}

TEST_F(MidiRegSettingsTest, ValuesChangeOnlyWhenTheRegistryTookThem)
{
    EXPECT_EQ(reg.set_nrpn_compat(0), -1) << "no key before init";
    EXPECT_EQ(reg.get_nrpn_compat(), 1);
    reg.init("Morvane");
    EXPECT_EQ(reg.set_nrpn_compat(0), 0);
    EXPECT_EQ(reg.set_autobind_mode(0), 0);
    EXPECT_EQ(reg.get_nrpn_compat(), 0);
    EXPECT_EQ(reg.get_autobind_mode(), 0);
    EXPECT_EQ(stored(product, "NRPN Compatibility"), "0");
    EXPECT_EQ(stored(maker, "Autobind Mode"), "0");

    MidiRegSettings again(maker);
    again.init("Morvane");
    EXPECT_EQ(again.get_nrpn_compat(), 0) << "the next instance reads what was stored";
}
