#include "vst2host/WindowsPath.hpp"

#include <gtest/gtest.h>
#include <string>

using vst2host::to_windows_path;

struct PathCase
{
    const char* name;
    std::string given;
    std::string expected;
};

class WindowsPath : public testing::TestWithParam<PathCase>
{
};

TEST_P(WindowsPath, MapsUnixAbsolutePathsToDriveZOnly)
{
    const PathCase& c = GetParam();
    EXPECT_EQ(to_windows_path(c.given), c.expected) << "for " << c.given;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, WindowsPath,
    testing::Values(PathCase{"UnixAbsolute", "/a/b.dll", "Z:\\a\\b.dll"},
                    PathCase{"UnixRoot", "/", "Z:\\"},
                    PathCase{"DriveLetter", "C:\\Plug\\x.dll", "C:\\Plug\\x.dll"},
                    PathCase{"Relative", "plug/x.dll", "plug/x.dll"},
                    PathCase{"FileName", "x.dll", "x.dll"}, PathCase{"Empty", "", ""}),
    [](const testing::TestParamInfo<PathCase>& info) { return info.param.name; });
