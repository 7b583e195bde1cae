#include "sys/RegistrySandbox.hpp"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>

namespace test
{

namespace
{

class Sandbox : public testing::Environment
{
public:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "morvane_reg_XXXXXX");
        if (::mkdtemp(pattern.data()) == nullptr)
        {
            throw std::runtime_error("cannot create the test configuration folder");
        }
        folder = pattern;
        ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    }
    void TearDown() override
    {
        std::error_code err;
        std::filesystem::remove_all(folder, err);
        ::unsetenv("XDG_CONFIG_HOME");
    }

private:
    std::string folder;
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
