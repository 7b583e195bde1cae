// Audio files through libsndfile: every format it reads; written by the file name's extension.
#include "morvane-host/AudioFile.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <sndfile.h>
#include <system_error>
#include <vector>

#include "kel/NoCase.hpp"
#include "morvane-host/ToolError.hpp"

namespace morvane_host
{

namespace
{

struct CloseSound
{
    void operator()(SNDFILE* file) const noexcept { sf_close(file); }
};

using SoundPtr = std::unique_ptr<SNDFILE, CloseSound>;

struct MajorFormat
{
    int format = 0;
    std::string name;
    std::string extension;
};

std::vector<MajorFormat> list_major_formats()
{
    int count = 0;
    sf_command(nullptr, SFC_GET_FORMAT_MAJOR_COUNT, &count, sizeof(count));
    std::vector<MajorFormat> formats;
    for (int i = 0; i < count; ++i)
    {
        SF_FORMAT_INFO info{};
        info.format = i;
        if (sf_command(nullptr, SFC_GET_FORMAT_MAJOR, &info, sizeof(info)) != 0)
            continue;
        formats.push_back({info.format, info.name != nullptr ? info.name : "",
                           info.extension != nullptr ? info.extension : ""});
    }
    return formats;
}

// The major format whose usual extension the path has; a few common spellings are added.
std::optional<int> find_major_format(const std::string& path)
{
    std::string extension = kel::to_lower_ascii(std::filesystem::path(path).extension().string());
    if (extension.size() < 2)
        return std::nullopt;
    extension.erase(0, 1);
    if (extension == "aif")
        extension = "aiff";
    else if (extension == "ogg")
        extension = "oga";
    for (const MajorFormat& major : list_major_formats())
    {
        if (major.extension == extension)
            return major.format;
    }
    return std::nullopt;
}

std::string list_extensions()
{
    std::vector<std::string> extensions;
    for (const MajorFormat& major : list_major_formats())
        extensions.push_back(major.extension);
    std::sort(extensions.begin(), extensions.end());
    extensions.erase(std::unique(extensions.begin(), extensions.end()), extensions.end());
    std::string text;
    for (const std::string& extension : extensions)
        text += (text.empty() ? "." : ", .") + extension;
    return text;
}

} // namespace

AudioData read_audio_file(const std::string& path)
{
    // libsndfile's own message for a missing file does not say so.
    std::error_code code;
    if (std::filesystem::is_directory(path, code))
        throw ToolError(ExitCode::file, path + ": cannot read: it is a folder");
    if (std::FILE* probe = std::fopen(path.c_str(), "rb"))
        std::fclose(probe);
    else
        throw ToolError(ExitCode::file, path + ": cannot read: " + std::strerror(errno));

    SF_INFO info{};
    SoundPtr file(sf_open(path.c_str(), SFM_READ, &info));
    if (!file)
        throw ToolError(ExitCode::file, path + ": cannot read as audio: " + sf_strerror(nullptr));
    if (info.channels <= 0 || info.samplerate <= 0 || info.frames < 0)
        throw ToolError(ExitCode::file, path + ": cannot read as audio: no channels or no rate");

    const auto channels = static_cast<std::size_t>(info.channels);
    const auto frames = static_cast<std::size_t>(info.frames);
    std::vector<float> interleaved(frames * channels);
    const sf_count_t got = sf_readf_float(file.get(), interleaved.data(), info.frames);
    if (got < 0)
        throw ToolError(ExitCode::file,
                        path + ": cannot read as audio: " + sf_strerror(file.get()));

    AudioData audio;
    audio.rate = info.samplerate;
    const auto read = static_cast<std::size_t>(got);
    audio.channels.assign(channels, std::vector<float>(read));
    for (std::size_t frame = 0; frame < read; ++frame)
    {
        for (std::size_t channel = 0; channel < channels; ++channel)
            audio.channels[channel][frame] = interleaved[frame * channels + channel];
    }
    return audio;
}

void check_audio_file_name(const std::string& path)
{
    if (!find_major_format(path))
        throw ToolError(ExitCode::file, path +
                                            ": cannot write: the extension names no format "
                                            "libsndfile writes (" +
                                            list_extensions() + ")");
}

void write_audio_file(const std::string& path, const AudioData& audio)
{
    check_audio_file_name(path);
    const std::optional<int> major = find_major_format(path);
    SF_INFO info{};
    info.samplerate = audio.rate;
    info.channels = static_cast<int>(audio.channels.size());
    // Float where the format has it; else the finest integer or the usual compressed coding.
    const int subtypes[] = {SF_FORMAT_FLOAT,  SF_FORMAT_PCM_24, SF_FORMAT_PCM_16,
                            SF_FORMAT_VORBIS, SF_FORMAT_OPUS,   SF_FORMAT_MPEG_LAYER_III};
    bool found = false;
    for (const int subtype : subtypes)
    {
        info.format = *major | subtype;
        if (sf_format_check(&info) != 0)
        {
            found = true;
            break;
        }
    }
    if (!found)
        throw ToolError(ExitCode::file, path + ": cannot write: libsndfile has no coding for " +
                                            std::to_string(info.channels) + " channels at " +
                                            std::to_string(audio.rate) + " Hz in this format");

    SoundPtr file(sf_open(path.c_str(), SFM_WRITE, &info));
    if (!file)
        throw ToolError(ExitCode::file, path + ": cannot write: " + sf_strerror(nullptr));
    // Integer codings clip instead of wrapping round.
    sf_command(file.get(), SFC_SET_CLIPPING, nullptr, SF_TRUE);

    const std::size_t channels = audio.channels.size();
    const std::size_t frames = audio.get_frames();
    std::vector<float> interleaved(frames * channels);
    for (std::size_t frame = 0; frame < frames; ++frame)
    {
        for (std::size_t channel = 0; channel < channels; ++channel)
            interleaved[frame * channels + channel] = audio.channels[channel][frame];
    }
    const sf_count_t written =
        sf_writef_float(file.get(), interleaved.data(), static_cast<sf_count_t>(frames));
    const std::string error = sf_strerror(file.get());
    const bool closed = sf_close(file.release()) == 0;
    if (written != static_cast<sf_count_t>(frames) || !closed)
    {
        std::remove(path.c_str());
        throw ToolError(ExitCode::file, path + ": cannot write: " + error);
    }
}

std::string describe_audio_formats()
{
    char version[128] = {};
    sf_command(nullptr, SFC_GET_LIB_VERSION, version, sizeof(version));
    return std::string("This build reads every format ") + version +
           " reads and writes the format that the extension of the file names (" +
           list_extensions() +
           "), with 32-bit float samples where the format has them (WAV, AIFF, CAF...), else "
           "24-bit integer (FLAC) or the format's usual coding (Ogg, Opus).";
}

} // namespace morvane_host
