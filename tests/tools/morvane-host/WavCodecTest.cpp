#include "morvane-host/WavCodec.hpp"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <tuple>

#include "ToolFixture.hpp"
#include "morvane-host/AudioFile.hpp"
#include "morvane-host/FileBytes.hpp"
#include "morvane-host/ToolError.hpp"

using namespace morvane_host;
using morvane_host_test::refusal_of;

namespace
{

// A ramp through the whole range, with full scale at both ends, different on each channel.
AudioData make_ramp(std::size_t channels, int rate = 44100)
{
    AudioData audio;
    audio.rate = rate;
    for (std::size_t c = 0; c < channels; ++c)
    {
        std::vector<float> samples(257);
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<float>(-1.0 + 2.0 * static_cast<double>(i) / 256.0) *
                         (c == 0 ? 1.0f : -0.5f);
        audio.channels.push_back(samples);
    }
    return audio;
}

std::uint32_t u32_at(const std::vector<unsigned char>& bytes, std::size_t at)
{
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

void put_u16(std::vector<unsigned char>& bytes, std::size_t at, std::uint16_t value)
{
    bytes[at] = static_cast<unsigned char>(value);
    bytes[at + 1] = static_cast<unsigned char>(value >> 8);
}

} // namespace

// A format and the step of its integers (none for floats), channels.
using RoundTrip = std::tuple<std::pair<WavSampleFormat, double>, std::size_t>;

using WavRoundTrip = testing::TestWithParam<RoundTrip>;

TEST_P(WavRoundTrip, KeepsEverySampleWithinOneStep)
{
    const auto [format_step, channels] = GetParam();
    const auto [format, step] = format_step;
    const AudioData original = make_ramp(channels, 96000);
    const AudioData back = decode_wav(encode_wav(original, format));
    EXPECT_EQ(back.rate, 96000);
    ASSERT_EQ(back.channels.size(), channels);
    // Full scale +1 has no integer step: it clamps to the largest one.
    const double tolerance = step * 1.0001;
    for (std::size_t c = 0; c < channels; ++c)
    {
        ASSERT_EQ(back.channels[c].size(), original.channels[c].size());
        for (std::size_t i = 0; i < original.channels[c].size(); ++i)
            ASSERT_NEAR(back.channels[c][i], original.channels[c][i], tolerance)
                << "channel " << c << " frame " << i;
    }
    EXPECT_EQ(back.channels[0].front(), -1.0f) << "-1 is exact in every format";
}

INSTANTIATE_TEST_SUITE_P(
    FormatsAndChannels, WavRoundTrip,
    testing::Combine(testing::Values(std::pair{WavSampleFormat::pcm16, 1.0 / 32768.0},
                                     std::pair{WavSampleFormat::pcm24, 1.0 / 8388608.0},
                                     std::pair{WavSampleFormat::pcm32, 1.0 / 2147483648.0},
                                     std::pair{WavSampleFormat::float32, 0.0}),
                     testing::Values(std::size_t{1}, std::size_t{2})));

TEST(WavCodec, WritesTheStandardHeaderAndPadsAnOddDataChunk)
{
    const std::vector<unsigned char> bytes = encode_wav(make_ramp(2), WavSampleFormat::pcm16);
    ASSERT_EQ(bytes.size(), 44u + 257u * 4u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
    EXPECT_EQ(u32_at(bytes, 4), bytes.size() - 8) << "RIFF size";
    EXPECT_EQ(u32_at(bytes, 24), 44100u) << "rate";
    EXPECT_EQ(u32_at(bytes, 28), 44100u * 4u) << "bytes per second";
    EXPECT_EQ(u32_at(bytes, 40), 257u * 4u) << "data size";

    const std::vector<unsigned char> odd = encode_wav(make_ramp(1), WavSampleFormat::pcm24);
    EXPECT_EQ(odd.size() % 2, 0u) << "257 three-byte samples and a pad byte";
    EXPECT_EQ(u32_at(odd, 4), odd.size() - 8);
}

TEST(WavCodec, ReadsTheExtensibleLayoutAndSkipsOtherChunks)
{
    // A 24-bit file rewritten with a LIST chunk of odd size and an extensible fmt chunk.
    const AudioData original = make_ramp(2);
    const std::vector<unsigned char> plain = encode_wav(original, WavSampleFormat::pcm24);
    std::vector<unsigned char> bytes(plain.begin(), plain.begin() + 12);
    const unsigned char list[] = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    bytes.insert(bytes.end(), std::begin(list), std::end(list));
    std::vector<unsigned char> fmt(plain.begin() + 12, plain.begin() + 36);
    fmt[4] = 40;
    put_u16(fmt, 8, 0xFFFE);
    const unsigned char extension[] = {22, 0, 24,   0, 3,    0, 0, 0,    1, 0,    0,    0,
                                       0,  0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    fmt.insert(fmt.end(), std::begin(extension), std::end(extension));
    bytes.insert(bytes.end(), fmt.begin(), fmt.end());
    bytes.insert(bytes.end(), plain.begin() + 36, plain.end());

    const AudioData back = decode_wav(bytes);
    ASSERT_EQ(back.channels.size(), 2u);
    ASSERT_EQ(back.get_frames(), original.get_frames());
    EXPECT_NEAR(back.channels[1][10], original.channels[1][10], 1.0 / 8388608.0);
}

TEST(WavCodec, ReadsTheWholeFramesOfACutShortFile)
{
    std::vector<unsigned char> bytes = encode_wav(make_ramp(2), WavSampleFormat::pcm16);
    bytes.resize(bytes.size() - 6); // one and a half frames gone
    EXPECT_EQ(decode_wav(bytes).get_frames(), 255u);
}

struct BadWav
{
    const char* what;
    std::size_t at; // where to patch the 16-bit PCM stereo file
    std::uint16_t value;
    const char* message;
};

using WavCodecRefuses = testing::TestWithParam<BadWav>;

TEST_P(WavCodecRefuses, NamingTheProblem)
{
    std::vector<unsigned char> bytes = encode_wav(make_ramp(2), WavSampleFormat::pcm16);
    put_u16(bytes, GetParam().at, GetParam().value);
    EXPECT_THAT(refusal_of([&] { decode_wav(bytes); }).second,
                testing::HasSubstr(GetParam().message));
}

INSTANTIATE_TEST_SUITE_P(BadFiles, WavCodecRefuses,
                         testing::Values(BadWav{"not_riff", 0, 0x5858, "not a RIFF WAVE"},
                                         BadWav{"no_fmt", 12, 0x6F66, "no fmt chunk"},
                                         BadWav{"no_data", 36, 0x6F64, "no data chunk"},
                                         BadWav{"eight_bit", 34, 8, "8-bit integer PCM"},
                                         BadWav{"float16", 20, 3, "16-bit float"},
                                         BadWav{"alaw", 20, 6, "format tag 6"},
                                         BadWav{"no_channels", 22, 0, "no channels"},
                                         BadWav{"block_align", 32, 3, "block alignment 3"}),
                         [](const testing::TestParamInfo<BadWav>& info)
                         { return std::string(info.param.what); });

// The build's audio files: libsndfile natively, the codec above on Windows.
TEST(AudioFile, ReadsWhatItWritesAndTheCodecsIntegerFiles)
{
    const std::string path =
        (std::filesystem::temp_directory_path() / std::to_string(std::random_device{}())).string() +
        "-audio.wav";
    const AudioData original = make_ramp(2, 48000);
    write_audio_file(path, original);
    const AudioData back = read_audio_file(path);
    EXPECT_EQ(back.rate, 48000);
    EXPECT_EQ(back.channels, original.channels) << "32-bit float keeps every bit";

    const std::vector<unsigned char> bytes = encode_wav(make_ramp(1), WavSampleFormat::pcm24);
    write_file_bytes(path, bytes);
    EXPECT_EQ(read_audio_file(path).channels, decode_wav(bytes).channels);
    std::filesystem::remove(path);

    const auto [code, message] = refusal_of([] { check_audio_file_name("out.nothing"); });
    EXPECT_EQ(code, ExitCode::file);
    EXPECT_THAT(message, testing::HasSubstr("out.nothing")) << "an extension it cannot write";
}
