#include "plux/setting/RegSettings.hpp"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

#include "sys/PersistentKeyList.hpp"
#include "sys/RegistrySandbox.hpp"

using plux::RegSettings;

namespace
{

struct FlagCase
{
    const char* name; // value name in the registry
    bool product_key; // below the product's key, else the maker's
    int def;
    int (RegSettings::*read)();
    int (RegSettings::*write)(int);

    friend void PrintTo(const FlagCase& c, std::ostream* os) { *os << c.name; }
};

class RegSettingsFlag : public testing::TestWithParam<FlagCase>
{
protected:
    std::string key_path() const
    {
        return GetParam().product_key ? settings.get_product_path() : settings.get_maker_path();
    }

    std::string stored() const
    {
        const sys::PersistentKeyList key(key_path(), true);
        std::string value;
        return key.get_string(GetParam().name, value) == 0 ? value : "(none)";
    }

    void store(const std::string& value)
    {
        sys::PersistentKeyList key(key_path(), true);
        ASSERT_EQ(key.set_string(GetParam().name, value), 0);
    }

    int read() { return (settings.*GetParam().read)(); }
    int write(int value) { return (settings.*GetParam().write)(value); }

    RegSettings settings{test::sandbox_key_path(), "Morvane"};
};

} // namespace

// A missing or invalid value reads as the default, which is written back; a written value reads
// back.
TEST_P(RegSettingsFlag, ReadsTheDefaultOrWhatWasWritten)
{
    const std::string def_text = std::to_string(GetParam().def);
    EXPECT_EQ(read(), GetParam().def);
    EXPECT_EQ(stored(), def_text);
    for (const char* invalid : {"2", "-1", "on", ""})
    {
        store(invalid);
        EXPECT_EQ(read(), GetParam().def) << "stored \"" << invalid << "\"";
        EXPECT_EQ(stored(), def_text) << "stored \"" << invalid << "\"";
    }

    const int other = 1 - GetParam().def;
    EXPECT_EQ(write(other), 0);
    EXPECT_EQ(stored(), std::to_string(other));
    EXPECT_EQ(read(), other);
    EXPECT_EQ(write(7), 0);
    EXPECT_EQ(stored(), "1") << "any non-zero value is stored as 1";
}

INSTANTIATE_TEST_SUITE_P(
    Values, RegSettingsFlag,
    testing::Values(FlagCase{"MouseCompatibility", false, 0, &RegSettings::read_mouse_compat,
                             &RegSettings::write_mouse_compat},
                    FlagCase{"NRPN Compatibility", true, 1, &RegSettings::read_nrpn_compat,
                             &RegSettings::write_nrpn_compat},
                    FlagCase{"Autobind Mode", false, 1, &RegSettings::read_autobind_mode,
                             &RegSettings::write_autobind_mode}),
    [](const testing::TestParamInfo<FlagCase>& info) { return std::to_string(info.index); });

TEST(RegSettingsSyntax, TheMouseModeReadsLikeADecimalNumberTheOthersOnlyExactly)
{
    RegSettings settings(test::sandbox_key_path(), "Morvane");
    sys::PersistentKeyList maker(settings.get_maker_path(), true);
    maker.set_string("MouseCompatibility", " 1 or so");
    EXPECT_EQ(settings.read_mouse_compat(), 1);
    maker.set_string("Autobind Mode", " 0");
    EXPECT_EQ(settings.read_autobind_mode(), 1);
    std::string value;
    maker.get_string("Autobind Mode", value);
    EXPECT_EQ(value, "1");
}
