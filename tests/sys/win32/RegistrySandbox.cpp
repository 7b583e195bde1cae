#include "sys/RegistrySandbox.hpp"

#include <windows.h>

#include <gtest/gtest.h>

namespace test
{

namespace
{

class Sandbox : public testing::Environment
{
public:
    void TearDown() override
    {
        HKEY software = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_ALL_ACCESS, &software) ==
            ERROR_SUCCESS)
        {
            ::RegDeleteTreeA(software, sandbox_root().c_str());
            ::RegDeleteKeyA(software, sandbox_root().c_str());
            ::RegCloseKey(software);
        }
    }
};

[[maybe_unused]] testing::Environment* const sandbox =
    testing::AddGlobalTestEnvironment(new Sandbox);

} // namespace

const std::string& sandbox_root()
{
    static const std::string root = "MorvaneTest_" + std::to_string(::GetCurrentProcessId());
    return root;
}

} // namespace test
