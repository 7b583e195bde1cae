#pragma once

#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "ToolRun.hpp"
#include "morvane-host/AudioData.hpp"
#include "morvane-host/FileBytes.hpp"
#include "morvane-host/ToolError.hpp"
#include "morvane-host/WavCodec.hpp"

namespace morvane_host_test
{

inline const std::string tool_path = MORVANE_HOST_PATH;
inline const std::string test_plugin = native_path(MORVANE_HOST_TEST_PLUGIN);

struct ToolRun
{
    int exit_code = -1;
    std::string out;
    std::string err;
};

// What f refuses with: the tool's exit code (none for other errors) and the message; an empty
// message when it refuses nothing.
template <typename F>
std::pair<std::optional<morvane_host::ExitCode>, std::string> refusal_of(F f)
{
    try
    {
        f();
    }
    catch (const morvane_host::ToolError& error)
    {
        return {error.get_code(), error.what()};
    }
    catch (const std::exception& error)
    {
        return {std::nullopt, error.what()};
    }
    return {std::nullopt, ""};
}

// A fresh folder per test for the files the tool reads and writes.
class ToolFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "-" + info->name();
        for (char& c : name)
            c = std::isalnum(static_cast<unsigned char>(c)) ? c : '-';
        // Unique per run: builds in other folders may run the same test at the same time.
        name += '-';
        name += std::to_string(std::random_device{}());
        folder = std::filesystem::temp_directory_path() / ("morvane-host-" + name);
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    std::string path(const std::string& name) const { return (folder / name).string(); }

    // The words of a command line, which may name the plug-ins ({plugin}, the project's test
    // plug-in, {fake} and {noentry}) and the test's files ({in}, {out} and {text}: in.wav, out.wav
    // and text.txt in {folder}).
    std::vector<std::string> words(const std::string& line) const
    {
        const std::pair<std::string, std::string> names[] = {
            {"{plugin}", test_plugin},
            {"{fake}", native_path(MORVANE_HOST_FAKE_PLUGIN)},
            {"{noentry}", native_path(MORVANE_HOST_NO_ENTRY_PLUGIN)},
            {"{in}", path("in.wav")},
            {"{out}", path("out.wav")},
            {"{text}", path("text.txt")},
            {"{folder}", folder.string()}};
        std::vector<std::string> result;
        std::istringstream in(line);
        for (std::string word; in >> word; result.push_back(word))
        {
            for (const auto& [name, value] : names)
            {
                if (const auto at = word.find(name); at != std::string::npos)
                    word.replace(at, name.size(), value);
            }
        }
        return result;
    }

    // Runs morvane-host of this build.
    ToolRun run(const std::string& line, const Environment& environment = {}) const
    {
        return run_tool(words(line), environment);
    }

    ToolRun run_tool(std::vector<std::string> arguments, Environment environment = {}) const
    {
        arguments.insert(arguments.begin(), native_path(tool_path));
        const std::string suppressions = MORVANE_HOST_LSAN_SUPPRESSIONS;
        if (!suppressions.empty())
            environment.emplace_back("LSAN_OPTIONS",
                                     "suppressions=" + suppressions + ":print_suppressions=0");
        return run_command(arguments, environment);
    }

    // Runs any program, its output and error kept in files of their own in the test's folder:
    // under wine a finished program's files may stay locked for a moment.
    ToolRun run_command(const std::vector<std::string>& command,
                        const Environment& environment = {}) const
    {
        const std::string name = std::to_string(++runs) + "-run";
        ToolRun run;
        run.exit_code = run_to_end(command, environment, path(name + ".out"), path(name + ".err"));
        run.out = read_text(name + ".out");
        run.err = read_text(name + ".err");
        return run;
    }

    std::string write_wav(const std::string& name, const morvane_host::AudioData& audio) const
    {
        const std::string file = path(name);
        morvane_host::write_file_bytes(
            file, morvane_host::encode_wav(audio, morvane_host::WavSampleFormat::float32));
        return file;
    }

    morvane_host::AudioData read_wav(const std::string& file) const
    {
        return morvane_host::decode_wav(morvane_host::read_file_bytes(file));
    }

    std::string read_text(const std::string& name) const
    {
        std::ostringstream text;
        text << std::ifstream(path(name), std::ios::binary).rdbuf();
        return text.str();
    }

    std::filesystem::path folder;
    mutable int runs = 0;
};

// Two different sines, quiet enough for any gain of the test effect.
inline morvane_host::AudioData make_sines(int rate, double seconds)
{
    morvane_host::AudioData audio;
    audio.rate = rate;
    const auto frames = static_cast<std::size_t>(rate * seconds);
    audio.channels.assign(2, std::vector<float>(frames));
    for (std::size_t i = 0; i < frames; ++i)
    {
        const double t = static_cast<double>(i) / rate;
        audio.channels[0][i] = static_cast<float>(0.25 * std::sin(2.0 * 3.14159265 * 440.0 * t));
        audio.channels[1][i] = static_cast<float>(0.125 * std::sin(2.0 * 3.14159265 * 300.0 * t));
    }
    return audio;
}

} // namespace morvane_host_test
