#include "vst2host/WindowsPath.hpp"

#include <gtest/gtest.h>
#include <string>
#include <utility>

TEST(WindowsPath, MapsUnixAbsolutePathsToDriveZOnly)
{
    const std::pair<std::string, std::string> cases[] = {
        {"/a/b.dll", "Z:\\a\\b.dll"}, {"/", "Z:\\"},      {"C:\\Plug\\x.dll", "C:\\Plug\\x.dll"},
        {"plug/x.dll", "plug/x.dll"}, {"x.dll", "x.dll"}, {"", ""}};
    for (const auto& [given, expected] : cases)
        EXPECT_EQ(vst2host::to_windows_path(given), expected) << "for \"" << given << '"';
}
