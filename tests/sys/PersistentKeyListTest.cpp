#include "sys/PersistentKeyList.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <ostream>
#include <stdexcept>
#include <string>

#include "sys/RegistrySandbox.hpp"

using sys::PersistentKeyList;

namespace
{

// The value through a key opened anew without creation; "(none)" when it cannot be read.
std::string read_value(const std::string& key_path, const std::string& name)
{
    const PersistentKeyList key(key_path, false);
    std::string value = "stale";
    const int res = key.get_string(name, value);
    EXPECT_TRUE(res == 0 || value.empty()) << "a failed read must empty the value";
    return res == 0 ? value : "(none)";
}

} // namespace

TEST(PersistentKeyList, OpeningAMissingKeyWithoutCreationThrows)
{
    EXPECT_THAT([] { PersistentKeyList(test::sandbox_key_path("missing/key"), false); },
                testing::ThrowsMessage<std::runtime_error>(
                    "sys::PersistentKeyList::PersistentKeyList () : Cannot open path."));
}

TEST(PersistentKeyList, CreatesNestedKeysWhoseValuesStayApart)
{
    {
        // A leading separator, a doubled one and a trailing one are skipped.
        std::string path = test::sandbox_key_path("inner//deeper/");
        path.insert(path.begin(), '/');
        PersistentKeyList inner(path, true);
        PersistentKeyList outer(test::sandbox_key_path(), true);
        EXPECT_EQ(outer.set_string("v", "outer"), 0);
        EXPECT_EQ(inner.set_string("v", "inner 1"), 0);
        EXPECT_EQ(inner.set_string("v", "inner 2"), 0);
    }
    EXPECT_EQ(read_value(test::sandbox_key_path(), "v"), "outer");
    EXPECT_EQ(read_value(test::sandbox_key_path("inner/deeper"), "v"), "inner 2");
    EXPECT_EQ(read_value(test::sandbox_key_path("inner"), "v"), "(none)");
}

TEST(PersistentKeyList, RefusesTooLongValuesAndNulWithoutTouchingTheStoredOne)
{
    PersistentKeyList key(test::sandbox_key_path(), true);
    ASSERT_EQ(key.set_string("v", "kept"), 0);
    EXPECT_EQ(key.set_string("v", std::string(1024, 'x')), -1);
    EXPECT_EQ(key.set_string("v", std::string("a\0b", 3)), -1);
    EXPECT_EQ(read_value(test::sandbox_key_path(), "v"), "kept");
}

struct ValueCase
{
    const char* label;
    std::string name;
    std::string value;

    friend void PrintTo(const ValueCase& c, std::ostream* os) { *os << c.label; }
};

class PersistentKeyListValue : public testing::TestWithParam<ValueCase>
{
};

TEST_P(PersistentKeyListValue, ReadsBackWhatItWrote)
{
    {
        PersistentKeyList key(test::sandbox_key_path(), true);
        ASSERT_EQ(key.set_string(GetParam().name, GetParam().value), 0);
        // A neighbour written afterwards must not disturb the value.
        ASSERT_EQ(key.set_string("after", "1"), 0);
    }
    EXPECT_EQ(read_value(test::sandbox_key_path(), GetParam().name), GetParam().value);
    EXPECT_EQ(read_value(test::sandbox_key_path(), "after"), "1");
}

INSTANTIATE_TEST_SUITE_P(
    Values, PersistentKeyListValue,
    testing::Values(ValueCase{"Empty", "LatestConfigFile", ""},
                    ValueCase{"Longest", "LatestConfigFile", std::string(1023, 'L')},
                    ValueCase{"SpaceInName", "NRPN Compatibility", "1"},
                    ValueCase{"WindowsPath", "LatestConfigFile", "C:\\Users\\Ana\\my set.cfg.txt"},
                    ValueCase{"DoubleSlash", "LatestConfigFile", "/home/ana//x=y/{a}.cfg.txt"},
                    ValueCase{"QuotesAndPercent", "q\"n=a{m}e", "say \"100%\" // now"},
                    ValueCase{"LineBreaks", "LatestConfigFile", "line 1\nline 2\r\n\tend,"},
                    ValueCase{"HighBytes", "LatestConfigFile", "caf\xe9 \xc3\xa9t\xc3\xa9"}),
    [](const testing::TestParamInfo<ValueCase>& info) { return info.param.label; });
