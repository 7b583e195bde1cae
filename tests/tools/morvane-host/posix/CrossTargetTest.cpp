// The Windows build of morvane-host and of the plug-in, run under wine, against the Linux ones:
// the same audio within float rounding, and chunks that load on the other target. Runs when a
// Windows build folder is named (MORVANE_HOST_WINDOWS_BUILD in the environment or in CMake).
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <iostream>
#include <optional>

#include "ToolFixture.hpp"
#include "vst2host/WindowsPath.hpp"

using namespace morvane_host;
using namespace morvane_host_test;

namespace
{

// Different libm functions and instruction sets may round differently in the last bit.
constexpr double tolerance = 1e-5;

std::string windows_build()
{
    const char* from_environment = std::getenv("MORVANE_HOST_WINDOWS_BUILD");
    return from_environment != nullptr ? from_environment : MORVANE_HOST_WINDOWS_BUILD;
}

std::optional<std::filesystem::path> find_in(const std::filesystem::path& folder,
                                             const std::string& name)
{
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
         it != std::filesystem::recursive_directory_iterator(); it.increment(error))
    {
        if (it->is_directory() && it->path().filename() == "wineprefix")
            it.disable_recursion_pending();
        else if (it->path().filename() == name)
            return it->path();
    }
    return std::nullopt;
}

double largest_difference(const AudioData& a, const AudioData& b)
{
    double largest = 0.0;
    for (std::size_t c = 0; c < a.channels.size(); ++c)
    {
        for (std::size_t i = 0; i < a.channels[c].size(); ++i)
            largest = std::max(largest,
                               std::fabs(static_cast<double>(a.channels[c][i]) - b.channels[c][i]));
    }
    return largest;
}

} // namespace

class CrossTarget : public ToolFixture
{
protected:
    void SetUp() override
    {
        const std::string build = windows_build();
        if (build.empty())
            GTEST_SKIP() << "no Windows build named in MORVANE_HOST_WINDOWS_BUILD";
        const auto tool = find_in(build, "morvane-host.exe");
        const auto plugin = find_in(build, MORVANE_HOST_CROSS_PLUGIN_FILE);
        ASSERT_TRUE(tool && plugin)
            << "morvane-host.exe and " << MORVANE_HOST_CROSS_PLUGIN_FILE << " in " << build;
        windows_tool = vst2host::to_windows_path(tool->string());
        windows_plugin = vst2host::to_windows_path(plugin->string());
        wine_run = (std::filesystem::path(build) / "wine-run.sh").string();
        ToolFixture::SetUp();
    }

    // morvane-host of the one build or the other with the plug-in compared and the arguments;
    // true when it succeeded.
    bool run_on(bool windows, const std::string& command, std::vector<std::string> arguments)
    {
        for (std::string& argument : arguments)
        {
            if (windows && argument.starts_with(folder.string()))
                argument = vst2host::to_windows_path(argument);
        }
        arguments.insert(arguments.begin(),
                         {command, windows ? windows_plugin : MORVANE_HOST_CROSS_PLUGIN});
        if (windows)
            arguments.insert(arguments.begin(), {wine_run, windows_tool});
        const ToolRun result = windows ? run_command(arguments) : run_tool(arguments);
        EXPECT_EQ(result.exit_code, 0) << result.out << result.err;
        return result.exit_code == 0;
    }

    std::string windows_tool;
    std::string windows_plugin;
    std::string wine_run;
};

TEST_F(CrossTarget, RendersEveryProgramAlike)
{
    ASSERT_TRUE(run_on(false, "demo", {"--out", path("linux")}));
    ASSERT_TRUE(run_on(true, "demo", {"--out", path("windows")}));
    double largest = 0.0;
    int programs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(path("linux")))
    {
        const std::string name = entry.path().filename().string();
        const AudioData linux_audio = read_wav(entry.path().string());
        ASSERT_TRUE(std::filesystem::exists(path("windows/" + name))) << name;
        const AudioData windows_audio = read_wav(path("windows/" + name));
        ASSERT_EQ(windows_audio.channels.size(), linux_audio.channels.size()) << name;
        ASSERT_EQ(windows_audio.get_frames(), linux_audio.get_frames()) << name;
        const double difference = largest_difference(linux_audio, windows_audio);
        EXPECT_LE(difference, tolerance) << name;
        largest = std::max(largest, difference);
        ++programs;
    }
    EXPECT_GE(programs, 1);
    RecordProperty("largest_difference", std::to_string(largest));
    std::cout << "largest difference between Linux and Windows over " << programs
              << " programs: " << largest << '\n';
}

TEST_F(CrossTarget, ChunksLoadOnTheOtherTarget)
{
    const std::string automation = std::string(MORVANE_HOST_CROSS_PARAMETER) + ":0=0.7";
    for (const bool windows : {false, true})
    {
        const std::string target = windows ? "windows" : "linux";
        ASSERT_TRUE(run_on(windows, "render",
                           {"--out", path(target + ".wav"), "--automate", automation, "--chunk-out",
                            path(target + ".bin")}));
    }
    EXPECT_EQ(read_file_bytes(path("linux.bin")), read_file_bytes(path("windows.bin")))
        << "the same state gives the same bytes";
    ASSERT_TRUE(run_on(true, "render",
                       {"--out", path("windows-from-linux.wav"), "--chunk-in", path("linux.bin")}));
    ASSERT_TRUE(
        run_on(false, "render",
               {"--out", path("linux-from-windows.wav"), "--chunk-in", path("windows.bin")}));
    // The reference is the chunk restored on its own target: a restored state starts without the
    // glide that automation from the defaults makes.
    ASSERT_TRUE(run_on(false, "render",
                       {"--out", path("linux-from-linux.wav"), "--chunk-in", path("linux.bin")}));
    ASSERT_TRUE(run_on(false, "render", {"--out", path("linux-default.wav")}));
    const AudioData reference = read_wav(path("linux-from-linux.wav"));
    ASSERT_GT(largest_difference(reference, read_wav(path("linux-default.wav"))), 0.01)
        << "the chunk carries the automated value";
    EXPECT_LE(largest_difference(read_wav(path("windows-from-linux.wav")), reference), tolerance);
    EXPECT_LE(largest_difference(read_wav(path("linux-from-windows.wav")), reference), tolerance);
}
