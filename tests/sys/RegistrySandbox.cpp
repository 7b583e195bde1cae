#include "sys/RegistrySandbox.hpp"

#include <algorithm>
#include <gtest/gtest.h>

namespace test
{

std::string sandbox_key_path(const std::string& suffix)
{
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string test_name =
        info != nullptr ? std::string(info->test_suite_name()) + "_" + info->name() : "none";
    // Parameterised test names hold '/', which would nest keys.
    std::replace(test_name.begin(), test_name.end(), '/', '_');
    std::string path = sandbox_root() + "/" + test_name;
    if (!suffix.empty())
    {
        path += "/" + suffix;
    }
    return path;
}

} // namespace test
