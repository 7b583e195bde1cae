#include "sys/Resource.hpp"

#include <gtest/gtest.h>
#include <string>

// This test program embeds TestResource.txt as the resource "HELLO" of type "MVTEST".

TEST(Resource, NamesAndTypesIgnoreLetterCaseAndGiveTheModulesOwnCopy)
{
    const auto first = sys::get_resource("MVTEST", "HELLO");
    EXPECT_EQ(std::string(first.begin(), first.end()), "Resource bytes, exactly as committed.\n");
    for (const auto& [type, name] : {std::pair{"mvtest", "hello"}, std::pair{"MvTest", "heLLo"}})
    {
        const auto again = sys::get_resource(type, name);
        EXPECT_EQ(again.data(), first.data()) << type << "/" << name;
        EXPECT_EQ(again.size(), first.size()) << type << "/" << name;
    }
}

// A missing resource is empty, and says so on the debug output (which cannot be captured on
// Windows).
TEST(Resource, MissingResourceIsEmptyAndReported)
{
    EXPECT_TRUE(sys::get_resource("MVTEST", "HELLO_NOT").empty());
    EXPECT_TRUE(sys::get_resource("", "").empty());
#ifndef _WIN32
    testing::internal::CaptureStderr();
#endif
    EXPECT_TRUE(sys::get_resource("QBNK", "HELLO").empty()) << "the type is part of the key";
#ifndef _WIN32
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "sys::get_resource: Error: couldn't load ressource. Name : HELLO, Type : QBNK\n");
#endif
}
