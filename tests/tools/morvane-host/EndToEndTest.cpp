// morvane-host run as a program on small inputs, through the project's test plug-in (a gain on
// parameter "Gain", 0 to 2, and the built-in bank) and the harness's fake plug-in, which shows the
// MIDI events it gets on its right output and fails when told to.
#include <bit>
#include <cmath>
#include <gtest/gtest.h>
#include <regex>

#include "SmfBuilder.hpp"
#include "ToolFixture.hpp"
#include "morvane-host/DemoSignal.hpp"
#include "tools/vst2host/fake/FakePluginProtocol.hpp"

using namespace morvane_host;
using namespace morvane_host_test;

namespace
{

// The test effect's gain for a normalised value: 2 n, as a float.
float gain_of(float normalised)
{
    return static_cast<float>(2.0 * static_cast<double>(normalised));
}

// "Dist Gain" of programs 1 and 2 of the built-in bank, bit for bit.
const float program1_gain = gain_of(std::bit_cast<float>(0x3F4B0000u));
const float program2_gain = gain_of(std::bit_cast<float>(0x3EEEE362u));

void expect_scaled(const AudioData& output, const AudioData& input, float gain)
{
    ASSERT_EQ(output.channels.size(), input.channels.size());
    EXPECT_EQ(output.rate, input.rate);
    for (std::size_t c = 0; c < input.channels.size(); ++c)
    {
        ASSERT_EQ(output.channels[c].size(), input.channels[c].size()) << "channel " << c;
        for (std::size_t i = 0; i < input.channels[c].size(); ++i)
            ASSERT_EQ(output.channels[c][i], input.channels[c][i] * gain)
                << "channel " << c << " frame " << i << " at gain " << gain;
    }
}

AudioData constant(int rate, std::size_t frames, float value)
{
    AudioData audio;
    audio.rate = rate;
    audio.channels.assign(2, std::vector<float>(frames, value));
    return audio;
}

struct GainCase
{
    const char* name;
    const char* options;
    float gain;
};

class RenderGain : public ToolFixture, public testing::WithParamInterface<GainCase>
{
};

TEST_P(RenderGain, AppliesTheEffectsGain)
{
    const AudioData input = make_sines(8000, 0.5);
    write_wav("in.wav", input);
    const ToolRun result =
        run(std::string("render {plugin} --in {in} --out {out} ") + GetParam().options);
    ASSERT_EQ(result.exit_code, 0) << result.err;
    EXPECT_NE(result.out.find("Rendered"), std::string::npos) << result.out;
    expect_scaled(read_wav(path("out.wav")), input, GetParam().gain);
}

INSTANTIATE_TEST_SUITE_P(
    Options, RenderGain,
    testing::Values(GainCase{"program_0_by_default", "", 0.0f},
                    GainCase{"set_unity", "--set Gain=1", 1.0f},
                    GainCase{"set_ignores_case", "--set gain=0.5", 0.5f},
                    GainCase{"program_1", "--program 1", program1_gain},
                    GainCase{"set_after_program", "--program 2 --set Gain=2", 2.0f},
                    GainCase{"program_2_small_blocks", "--program 2 --block 7", program2_gain}),
    [](const auto& info) { return std::string(info.param.name); });

using RenderOptions = ToolFixture;

TEST_F(RenderOptions, AutomatesAtBlockStarts)
{
    write_wav("in.wav", constant(8000, 8000, 0.25f));
    const ToolRun result = run(
        "render {plugin} --in {in} --out {out} --block 800 --set Gain=1 --automate Gain:0=0,1=1");
    ASSERT_EQ(result.exit_code, 0) << result.err;
    const AudioData output = read_wav(path("out.wav"));
    ASSERT_EQ(output.get_frames(), 8000u);
    for (std::size_t frame = 0; frame < 8000; ++frame)
    {
        // The lane's value at the start of the frame's block of 800.
        const auto value = static_cast<float>(static_cast<double>(frame / 800 * 800) / 8000.0);
        ASSERT_EQ(output.channels[1][frame], 0.25f * gain_of(value)) << "frame " << frame;
    }
}

TEST_F(RenderOptions, MonoConnectsOnlyTheLeftPins)
{
    const AudioData input = make_sines(8000, 0.25);
    write_wav("in.wav", input);
    const ToolRun result = run("render {plugin} --in {in} --out {out} --mono --set Gain=1");
    ASSERT_EQ(result.exit_code, 0) << result.err;
    const AudioData output = read_wav(path("out.wav"));
    ASSERT_EQ(output.channels.size(), 1u) << "a mono file";
    ASSERT_EQ(output.get_frames(), input.get_frames());
    for (std::size_t i = 0; i < output.get_frames(); ++i)
        ASSERT_EQ(output.channels[0][i], 0.5f * (input.channels[0][i] + input.channels[1][i]))
            << "frame " << i << ": the mix of both sides";
}

TEST_F(RenderOptions, RestoresTheChunkItSaved)
{
    const AudioData input = make_sines(8000, 0.25);
    write_wav("in.wav", input);
    const ToolRun saved = run("render {plugin} --in {in} --out {folder}/first.wav --set Gain=0.5 "
                              "--chunk-out {folder}/bank.bin");
    ASSERT_EQ(saved.exit_code, 0) << saved.err;
    EXPECT_FALSE(read_file_bytes(path("bank.bin")).empty());
    const ToolRun restored =
        run("render {plugin} --in {in} --out {out} --chunk-in {folder}/bank.bin");
    ASSERT_EQ(restored.exit_code, 0) << restored.err;
    expect_scaled(read_wav(path("out.wav")), input, 0.5f);
}

TEST_F(RenderOptions, PlaysMidiControllersAtTheirFrames)
{
    // 120 BPM, 480 ticks a quarter: ticks 480 and 720 are 0.5 s and 0.75 s.
    SmfBuilder::Track tempo, controls;
    tempo.tempo(0, 500000).end();
    controls.event(0, {0xB0, 7, 100})
        .event(480, {0xB2, 1, 5})
        .event(240, {74, 127})     // running status
        .event(9600, {0xB0, 7, 0}) // 10.75 s: past the input
        .end();
    write_file_bytes(path("cc.mid"), SmfBuilder::file(1, 480, {tempo, controls}));
    write_wav("in.wav", constant(8000, 8000, 0.0f));
    const ToolRun result =
        run("render {fake} --in {in} --out {out} --block 300 --midi {folder}/cc.mid");
    ASSERT_EQ(result.exit_code, 0) << result.err;
    EXPECT_NE(result.err.find("1 controller events after the end"), std::string::npos)
        << result.err;
    const AudioData output = read_wav(path("out.wav"));
    std::vector<std::pair<std::size_t, float>> seen;
    for (std::size_t i = 0; i < output.get_frames(); ++i)
    {
        if (output.channels[1][i] != 0.0f)
            seen.emplace_back(i, output.channels[1][i]);
    }
    const std::vector<std::pair<std::size_t, float>> expected = {
        {0, 7 * 128 + 100 + 1},
        {4000, 200000 + 1 * 128 + 5 + 1},
        {6000, 200000 + 74 * 128 + 127 + 1}};
    EXPECT_EQ(seen, expected) << "frame and channel * 100000 + controller * 128 + value + 1";
}

TEST_F(RenderOptions, WritesTheDemoSignalWithoutAnInput)
{
    const ToolRun result = run("render {plugin} --out {out} --set Gain=1 --rate 22050");
    ASSERT_EQ(result.exit_code, 0) << result.err;
    expect_scaled(read_wav(path("out.wav")), make_demo_signal(22050), 1.0f);
}

using Commands = ToolFixture;

TEST_F(Commands, InfoListsTheEffectParametersAndPrograms)
{
    const ToolRun result = run("info {plugin}");
    ASSERT_EQ(result.exit_code, 0) << result.err;
    for (const char* text :
         {"'TXmv'", "CanReplacing", "8 programs, 8 parameters", "\"Gain\"",
          "receiveVstTimeInfo: yes", "\"Monkey on the moon\"", "\"Supra cat\"", "automatable yes"})
        EXPECT_NE(result.out.find(text), std::string::npos) << "expected " << text << " in\n"
                                                            << result.out;
}

TEST_F(Commands, DemoRendersEveryProgramIntoNamedFiles)
{
    const ToolRun result = run("demo {plugin} --out {folder}/demo");
    ASSERT_EQ(result.exit_code, 0) << result.err;
    const AudioData demo = make_demo_signal(48000);
    expect_scaled(read_wav(path("demo/01-Monkey-on-the-moon.wav")), demo, program1_gain);
    expect_scaled(read_wav(path("demo/00-Base.wav")), demo, 0.0f);
    const auto files = std::distance(std::filesystem::directory_iterator(path("demo")), {});
    EXPECT_EQ(files, 8);
    EXPECT_TRUE(std::regex_search(result.out, std::regex(R"(\n +0  Base +-inf +-inf)")))
        << result.out;
    EXPECT_TRUE(
        std::regex_search(result.out, std::regex(R"(\n +7  Supra cat +-\d+\.\d +-\d+\.\d)")))
        << result.out;
}

TEST_F(Commands, BenchReportsARealTimeFactor)
{
    const ToolRun result = run("bench {plugin} --seconds 0.5");
    ASSERT_EQ(result.exit_code, 0) << result.err;
    std::smatch factor;
    ASSERT_TRUE(std::regex_search(result.out, factor, std::regex(R"(Real-time factor +([0-9.]+))")))
        << result.out;
    EXPECT_GT(std::stod(factor[1]), 0.0);
    EXPECT_NE(result.out.find("blocks of 512"), std::string::npos) << result.out;
}

#ifndef _WIN32
// The editor's picture: a PNG of the editor's size, which shows the program and the parameters.
TEST_F(Commands, SnapshotWritesTheEditorAsAPicture)
{
    const auto png_of = [this](const std::string& options)
    {
        const ToolRun result = run("snapshot --out {folder}/editor.png " + options);
        EXPECT_EQ(result.exit_code, 0) << result.err;
        return read_file_bytes(path("editor.png"));
    };
    const std::vector<unsigned char> plain = png_of("");
    ASSERT_GE(plain.size(), 24u);
    const auto u32 = [&plain](std::size_t at)
    { return plain[at] << 24 | plain[at + 1] << 16 | plain[at + 2] << 8 | plain[at + 3]; };
    EXPECT_EQ(std::string(plain.begin() + 1, plain.begin() + 4), "PNG");
    EXPECT_EQ(u32(16), 300u) << "width";
    EXPECT_EQ(u32(20), 335u) << "height";
    EXPECT_TRUE(png_of("--set Tone=0.9") != plain) << "the tone fader moved";
    EXPECT_TRUE(png_of("--program 7") != plain);
    EXPECT_TRUE(png_of("") == plain) << "the same state gives the same picture";
}
#endif

TEST_F(Commands, HelpDescribesEverySubcommand)
{
    for (const char* command : {"info", "render", "demo", "bench"})
    {
        const ToolRun result = run(std::string(command) + " --help");
        EXPECT_EQ(result.exit_code, 0) << command << ": " << result.err;
        EXPECT_NE(result.out.find("Usage:"), std::string::npos) << result.out;
        EXPECT_NE(result.out.find("Exit codes"), std::string::npos) << result.out;
    }
}

struct ErrorCase
{
    const char* name;
    const char* line;
    int exit_code;
    const char* message;
    const char* fault = ""; // the fake plug-in's
};

class Errors : public ToolFixture, public testing::WithParamInterface<ErrorCase>
{
};

TEST_P(Errors, GiveOneLineAnExitCodeAndNoFiles)
{
    write_wav("in.wav", make_sines(8000, 1.0));
    write_file_bytes(path("text.txt"), std::vector<unsigned char>(100, 'x'));
    const ToolRun result = run(GetParam().line, {{fake_plugin::fault_variable, GetParam().fault}});
    EXPECT_EQ(result.exit_code, GetParam().exit_code) << result.err;
    EXPECT_NE(result.err.find(GetParam().message), std::string::npos) << result.err;
    const auto first = result.err.find_first_not_of("\r\n");
    const auto end = result.err.find_last_not_of("\r\n");
    ASSERT_NE(first, std::string::npos) << "a message";
    EXPECT_EQ(result.err.substr(first, end - first + 1).find('\n'), std::string::npos)
        << "one line:\n"
        << result.err;
    EXPECT_FALSE(std::filesystem::exists(path("out.wav"))) << "nothing written";
    EXPECT_FALSE(std::filesystem::exists(path("bank.bin"))) << "nothing written";
}

INSTANTIATE_TEST_SUITE_P(
    BadInput, Errors,
    testing::Values(
        ErrorCase{"missing_input", "render {plugin} --in {folder}/no.wav --out {out}", 3,
                  "no.wav: cannot read"},
        ErrorCase{"input_not_audio", "render {plugin} --in {text} --out {out}", 3,
                  "cannot read as audio"},
        ErrorCase{"output_format", "render {plugin} --out {folder}/out.xyz", 3,
                  "out.xyz: cannot write"},
        ErrorCase{"missing_plugin", "render {folder}/none.dll --out {out}", 2, "none.dll"},
        ErrorCase{"not_a_plugin", "info {text}", 2, "cannot load"},
        ErrorCase{"no_entry", "render {noentry} --out {out}", 2,
                  "exports neither VSTPluginMain nor main"},
        ErrorCase{"null_entry", "bench {fake}", 2, "answered no effect", "no_effect"},
        ErrorCase{"unknown_parameter", "render {plugin} --out {out} --set Nope=1", 1,
                  "no parameter \"Nope\""},
        ErrorCase{"refused_text", "render {plugin} --out {out} --set Gain=loud", 1,
                  "refuses \"loud\" for \"Gain\""},
        ErrorCase{"program_range", "render {plugin} --out {out} --program 8", 1, "programs 0 to 7"},
        ErrorCase{"bad_automation", "render {plugin} --out {out} --automate Gain:1", 1,
                  "is not a point"},
        ErrorCase{"automation_name", "render {plugin} --out {out} --automate Nope:0=1", 1,
                  "no parameter \"Nope\""},
        ErrorCase{"bad_midi", "render {plugin} --out {out} --midi {text}", 3,
                  "cannot read as a MIDI file"},
        ErrorCase{"bad_chunk", "render {plugin} --out {out} --chunk-in {text}", 3,
                  "refuses the chunk"},
        ErrorCase{"rate_mismatch", "render {plugin} --in {in} --rate 44100 --out {out}", 1,
                  "does not resample"},
        ErrorCase{"missing_out", "render {plugin}", 1, "--out"},
        ErrorCase{"unknown_command", "play {plugin}", 1, "no subcommand \"play\""},
        ErrorCase{"crash", "render {fake} --out {out} --chunk-out {folder}/bank.bin", 4,
                  "the plug-in crashed", "crash"},
        ErrorCase{"not_finite", "render {fake} --in {in} --out {out}", 4,
                  "not a finite number (NaN) at 0.500 s on output 1", "nan"},
        ErrorCase{"demo_folder", "demo {plugin} --out {text}", 3, "cannot make the folder"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
