// Audio files without libsndfile: WAV only.
#include "morvane-host/AudioFile.hpp"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "kel/NoCase.hpp"
#include "morvane-host/FileBytes.hpp"
#include "morvane-host/ToolError.hpp"
#include "morvane-host/WavCodec.hpp"

namespace morvane_host
{

AudioData read_audio_file(const std::string& path)
{
    const std::vector<unsigned char> bytes = read_file_bytes(path);
    try
    {
        return decode_wav(bytes);
    }
    catch (const std::runtime_error& error)
    {
        throw ToolError(ExitCode::file, path + ": cannot read as audio: " + error.what() +
                                            " (this build reads WAV files only)");
    }
}

void check_audio_file_name(const std::string& path)
{
    const std::string extension =
        kel::to_lower_ascii(std::filesystem::path(path).extension().string());
    if (extension != ".wav")
        throw ToolError(ExitCode::file,
                        path + ": cannot write: this build writes WAV files only (.wav)");
}

void write_audio_file(const std::string& path, const AudioData& audio)
{
    check_audio_file_name(path);
    std::vector<unsigned char> bytes;
    try
    {
        bytes = encode_wav(audio, WavSampleFormat::float32);
    }
    catch (const std::length_error& error)
    {
        throw ToolError(ExitCode::file, path + ": cannot write: " + error.what());
    }
    write_file_bytes(path, bytes);
}

std::string describe_audio_formats()
{
    return "This Windows build reads WAV files (16-, 24- and 32-bit integer PCM, 32-bit float) "
           "and writes 32-bit float WAV files.";
}

} // namespace morvane_host
