#include "morvane-host/SmfParser.hpp"

#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <string>

#include "SmfBuilder.hpp"
#include "ToolFixture.hpp"
#include "morvane-host/FileBytes.hpp"
#include "morvane-host/MidiFile.hpp"
#include "morvane-host/ToolError.hpp"

using namespace morvane_host;
using morvane_host_test::refusal_of;
using morvane_host_test::SmfBuilder;
using Track = SmfBuilder::Track;

namespace
{

constexpr std::uint16_t ppq = 480;

// At the default 120 BPM one quarter (480 ticks) is half a second.
SmfBuilder::Bytes format0_with_running_status()
{
    Track track;
    track.event(0, {0xB0, 7, 100})
        .event(480, {9, 90})       // running status: controller 9
        .event(0, {0x90, 60, 100}) // a note: not a controller
        .event(240, {0xB0, 10, 64})
        .event(0, {0xF0, 2, 0x43, 0xF7}) // sysex, skipped
        .event(240, {0xB3, 1, 2})
        .end();
    return SmfBuilder::file(0, ppq, {track});
}

// Tempo doubles the quarter's length at tick 960; a second track holds the controllers.
SmfBuilder::Bytes format1_with_tempo_change()
{
    Track tempo;
    tempo.tempo(0, 500000).tempo(960, 1000000).end();
    Track controls;
    controls.event(480, {0xB1, 20, 1}).event(960, {0xB1, 21, 2}).end();
    Track more;
    more.event(1440, {0xB2, 22, 3}).end();
    return SmfBuilder::file(1, ppq, {tempo, controls, more});
}

void expect_event(const ControllerEvent& event, double seconds, int status, int controller,
                  int value)
{
    EXPECT_NEAR(event.seconds, seconds, 1e-9) << "time of controller " << controller;
    EXPECT_EQ(event.status, status) << "status of controller " << controller;
    EXPECT_EQ(event.controller, controller);
    EXPECT_EQ(event.value, value) << "value of controller " << controller;
}

} // namespace

TEST(SmfParser, ReadsControllersOfAFormat0FileWithRunningStatus)
{
    const auto events = parse_smf_controllers(format0_with_running_status());
    ASSERT_EQ(events.size(), 4u) << "the note and the sysex are not controllers";
    expect_event(events[0], 0.0, 0xB0, 7, 100);
    expect_event(events[1], 0.5, 0xB0, 9, 90);
    expect_event(events[2], 0.75, 0xB0, 10, 64);
    expect_event(events[3], 1.0, 0xB3, 1, 2);
}

TEST(SmfParser, AppliesTempoChangesOfOneTrackToAll)
{
    const auto events = parse_smf_controllers(format1_with_tempo_change());
    ASSERT_EQ(events.size(), 3u);
    expect_event(events[0], 0.5, 0xB1, 20, 1);
    // Tick 1440: 960 ticks at 0.5 s a quarter, then 480 at 1 s a quarter.
    expect_event(events[1], 2.0, 0xB1, 21, 2);
    expect_event(events[2], 2.0, 0xB2, 22, 3);
}

TEST(SmfParser, KeepsTrackOrderForEqualTimes)
{
    Track first, second;
    first.event(100, {0xB0, 1, 1}).end();
    second.event(100, {0xB0, 2, 2}).event(0, {0xB0, 3, 3}).end();
    const auto events = parse_smf_controllers(SmfBuilder::file(1, ppq, {second, first}));
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].controller, 2);
    EXPECT_EQ(events[1].controller, 3);
    EXPECT_EQ(events[2].controller, 1) << "the later track's event comes after";
}

TEST(SmfParser, TimesSmpteDivisionsInFrames)
{
    Track track;
    track.event(1000, {0xB0, 1, 1}).end();
    // 25 frames per second of 40 ticks: a thousand ticks a second; tempo does not count.
    const std::uint16_t division = static_cast<std::uint16_t>((0x100 - 25) << 8 | 40);
    const auto events = parse_smf_controllers(SmfBuilder::file(0, division, {track}));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_NEAR(events[0].seconds, 1.0, 1e-12);
}

struct BadFile
{
    const char* what;
    SmfBuilder::Bytes bytes;
    const char* message;
};

using SmfParserRefuses = testing::TestWithParam<BadFile>;

TEST_P(SmfParserRefuses, NamingTheProblem)
{
    EXPECT_THAT(refusal_of([this] { parse_smf_controllers(GetParam().bytes); }).second,
                testing::HasSubstr(GetParam().message));
}

SmfBuilder::Bytes truncated_track()
{
    SmfBuilder::Bytes bytes = format0_with_running_status();
    bytes.resize(bytes.size() - 5);
    return bytes;
}

SmfBuilder::Bytes with_track(std::initializer_list<unsigned char> body, std::uint16_t format = 0)
{
    Track track;
    track.body = body;
    return SmfBuilder::file(format, ppq, {track});
}

SmfBuilder::Bytes missing_track()
{
    SmfBuilder::Bytes bytes = format0_with_running_status();
    bytes[11] = 2; // two tracks announced, one there
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    BadFiles, SmfParserRefuses,
    testing::Values(
        BadFile{"text",
                {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!', '!', '!'},
                "no MThd"},
        BadFile{"format_2", with_track({0, 0xFF, 0x2F, 0}, 2), "format 2"},
        BadFile{"cut_short", truncated_track(), "runs past the end"},
        BadFile{"missing_track", missing_track(), "before track 2 of 2"},
        BadFile{"long_number", with_track({0x81, 0x81, 0x81, 0x81, 0x01, 0xB0, 1, 1}),
                "more than four bytes"},
        BadFile{"no_status", with_track({0, 7, 100}), "without a status"},
        BadFile{"status_for_data", with_track({0, 0xB0, 7, 0x90}), "where a data byte"},
        BadFile{"meta_ends_running_status", with_track({0, 0xB0, 7, 1, 0, 0xFF, 0x01, 0, 0, 7, 2}),
                "without a status"},
        BadFile{"bad_tempo", with_track({0, 0xFF, 0x51, 2, 1, 2}), "tempo event of 2 bytes"}),
    [](const auto& info) { return std::string(info.param.what); });

// The build's file reader (libsmf natively, the parser above on Windows) reads the same events,
// and names a file it cannot read.
TEST(MidiFileReader, AgreesWithTheParser)
{
    const std::string path =
        (std::filesystem::temp_directory_path() / std::to_string(std::random_device{}())).string() +
        "-smf.mid";
    for (const auto& bytes : {format0_with_running_status(), format1_with_tempo_change()})
    {
        write_file_bytes(path, bytes);
        const auto from_file = read_midi_controllers(path);
        const auto parsed = parse_smf_controllers(bytes);
        ASSERT_EQ(from_file.size(), parsed.size());
        for (std::size_t i = 0; i < parsed.size(); ++i)
            expect_event(from_file[i], parsed[i].seconds, parsed[i].status, parsed[i].controller,
                         parsed[i].value);
    }
    std::filesystem::remove(path);
    const auto [code, message] = refusal_of([] { read_midi_controllers("no-such-file.mid"); });
    EXPECT_EQ(code, ExitCode::file);
    EXPECT_THAT(message, testing::HasSubstr("no-such-file.mid"));
}
