#include "sys/RegistrySandbox.hpp"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

#include "basic/TempFolder.hpp"

namespace test
{

namespace
{

class Sandbox : public testing::Environment
{
public:
    void SetUp() override
    {
        // The folder itself, without the separator that path("") ends with.
        const std::filesystem::path home = std::filesystem::path(folder.path("")).parent_path();
        ::setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    }
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
