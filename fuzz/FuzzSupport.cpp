#include "FuzzSupport.hpp"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace fuzz
{

namespace
{

std::string& config_home()
{
    static std::string folder;
    return folder;
}

} // namespace

void fail(const char* what)
{
    std::fprintf(stderr, "fuzz: %s\n", what);
    std::fflush(stderr);
    std::abort();
}

void use_private_config_home()
{
    if (!config_home().empty())
    {
        return;
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "morvane_fuzz_XXXXXX");
    if (::mkdtemp(pattern.data()) == nullptr)
    {
        fail("cannot create a configuration folder");
    }
    config_home() = pattern;
    ::setenv("XDG_CONFIG_HOME", pattern.c_str(), 1);
    // The folder goes when the process ends normally; a crash leaves it for the post-mortem.
    std::atexit(
        []
        {
            std::error_code err;
            std::filesystem::remove_all(config_home(), err);
        });
}

std::string temp_file_path(const std::string& name)
{
    use_private_config_home();
    return (std::filesystem::path(config_home()) / name).string();
}

} // namespace fuzz
