#include "sys/RegistrySandbox.hpp"

#include <cstdlib>
#include <gtest/gtest.h>

#include "basic/TempFolder.hpp"

namespace test
{

namespace
{

class Sandbox : public testing::Environment
{
public:
    void SetUp() override { ::setenv("XDG_CONFIG_HOME", folder.path("").c_str(), 1); }
    void TearDown() override { ::unsetenv("XDG_CONFIG_HOME"); }

private:
    TempFolder folder;
};

[[maybe_unused]] testing::Environment* const sandbox =
    testing::AddGlobalTestEnvironment(new Sandbox);

} // namespace

const std::string& sandbox_root()
{
    static const std::string root = "MorvaneTest";
    return root;
}

} // namespace test
