#include "sys/Resource.hpp"

#include <gtest/gtest.h>
#include <string>

// This test program embeds TestResource.txt as the resource "HELLO" of type "MVTEST".

namespace
{

std::string text_of(std::span<const std::uint8_t> bytes)
{
    return {bytes.begin(), bytes.end()};
}

} // namespace

TEST(Resource, NamesAndTypesIgnoreLetterCase)
{
    for (const auto& [type, name] :
         {std::pair{"MVTEST", "HELLO"}, std::pair{"mvtest", "hello"}, std::pair{"MvTest", "heLLo"}})
    {
        EXPECT_EQ(text_of(sys::get_resource(type, name)), "Resource bytes, exactly as committed.\n")
            << type << "/" << name;
    }
}

TEST(Resource, RepeatedLookupsGiveTheSameBytes)
{
    const auto a = sys::get_resource("MVTEST", "HELLO");
    const auto b = sys::get_resource("mvtest", "hello");
    EXPECT_EQ(a.data(), b.data()) << "the module's own read-only copy";
    EXPECT_EQ(a.size(), b.size());
}

TEST(Resource, MissingResourceIsEmpty)
{
    EXPECT_TRUE(sys::get_resource("MVTEST", "HELLO_NOT").empty());
    EXPECT_TRUE(sys::get_resource("QBNK", "HELLO").empty()) << "the type is part of the key";
    EXPECT_TRUE(sys::get_resource("", "").empty());
}

TEST(Resource, MissingResourceIsReportedToTheDebugOutput)
{
#ifdef _WIN32
    GTEST_SKIP() << "the debugger output cannot be captured here";
#else
    testing::internal::CaptureStderr();
    sys::get_resource("QBNK", "no_such_bank");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "sys::get_resource: Error: couldn't load ressource. Name : no_such_bank, Type : "
              "QBNK\n");
#endif
}
