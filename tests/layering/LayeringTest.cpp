#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "basic/TempFolder.hpp"
#include "layering/IncludeRules.hpp"

namespace fs = std::filesystem;

TEST(Layering, TheSourceTreeKeepsItsLayers)
{
    const std::vector<std::string> problems =
        layering::check_layering(fs::path(MORVANE_SOURCE_DIR));
    std::string all;
    for (const std::string& problem : problems)
    {
        all += problem + "\n";
    }
    EXPECT_TRUE(problems.empty()) << all;
}

namespace
{

struct Planted
{
    const char* name;
    // A file of the tree and the header it includes; the header itself is created empty, or
    // including <windows.h> when it is written as "~windows" + its path.
    const char* file;
    const char* include;
    bool refused;
};

class PlantedInclude : public testing::TestWithParam<Planted>
{
};

void write(const test::TempFolder& tree, const std::string& file, const std::string& text)
{
    const fs::path path = tree.path(file);
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

} // namespace

TEST_P(PlantedInclude, IsFoundOrLetThrough)
{
    const Planted& p = GetParam();
    test::TempFolder tree;
    std::string header = p.include;
    const bool system_header = header.front() == '<';
    if (header.starts_with("~windows"))
    {
        header = header.substr(8);
        write(tree, header, "#include <windows.h>\n");
    }
    else if (!system_header)
    {
        write(tree, header, "#pragma once\n");
    }
    write(tree, p.file, "#include " + (system_header ? header : "\"" + header + "\"") + "\n");

    const std::vector<std::string> problems = layering::check_layering(fs::path(tree.path("")));
    if (p.refused)
    {
        EXPECT_THAT(problems, testing::Contains(testing::StartsWith(p.file)));
    }
    else
    {
        EXPECT_THAT(problems, testing::IsEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Layering, PlantedInclude,
    testing::Values(
        Planted{"host_midi_in_midi", "plux/midi/Vst2MidiIn.hpp", "plux/vst2/Vst2Abi.hpp", true},
        Planted{"settings_see_midi", "plux/setting/SettingDspMixin.cpp", "plux/midi/MidiMgr.hpp",
                true},
        Planted{"effect_sees_vst2", "effect/MorvaneFactory.cpp", "plux/vst2/PluginInfo.hpp", true},
        Planted{"midi_takes_prog_bytes", "plux/midi/MidiChannelState.cpp",
                "plux/prog/BigEndian.hpp", true},
        Planted{"param_sees_vst2", "plux/param/ListenerBase.cpp", "plux/vst2/Vst2Abi.hpp", true},
        Planted{"prog_sees_vst2", "plux/prog/BankFile.cpp", "plux/vst2/Vst2Abi.hpp", true},
        Planted{"kel_sees_basic", "kel/txt/out/PrintNa.cpp", "basic/ConfKeyData.hpp", true},
        Planted{"basic_sees_sys", "basic/TextFile.cpp", "sys/Clock.hpp", true},
        Planted{"windows_in_portable_header", "plux/vst2/Vst2Plugin.cpp", "~windowssys/Clock.hpp",
                true},
        Planted{"windows_in_portable_file", "ravik/Picture.cpp", "<windows.h>", true},
        Planted{"windows_behind_win32_header", "sys/FileSelector.hpp",
                "~windowssys/win32/OwnerWindow.hpp", true},
        Planted{"windows_in_its_twin", "sys/win32/FileSelector.cpp", "<Windows.h>", false},
        Planted{"vst2_uses_midi", "plux/vst2/Vst2MidiIn.hpp", "plux/midi/MidiInCcMixin.hpp", false},
        Planted{"effect_uses_settings", "effect/dsp/VantrelDsp.hpp",
                "plux/setting/SettingDspMixin.hpp", false}),
    [](const testing::TestParamInfo<Planted>& info) { return std::string(info.param.name); });
