#include "morvane-host/WavCodec.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>

namespace morvane_host
{

static_assert(std::endian::native == std::endian::little, "WAV samples are copied as they lie");

namespace
{

constexpr std::uint16_t tag_pcm = 1;
constexpr std::uint16_t tag_float = 3;
constexpr std::uint16_t tag_extensible = 0xFFFE;

// The sub-format GUID of the extensible layout after its first two bytes (the plain format tag).
constexpr unsigned char guid_tail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                         0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

struct Format
{
    std::uint16_t tag = 0; // tag_pcm or tag_float, after resolving the extensible layout
    unsigned channels = 0;
    std::uint32_t rate = 0;
    unsigned bits = 0;
    unsigned block_align = 0;
};

class ByteWriter
{
public:
    explicit ByteWriter(std::size_t reserve) { bytes.reserve(reserve); }

    void text(const char (&four)[5]) { bytes.insert(bytes.end(), four, four + 4); }
    void u16(std::uint16_t value) { little(value, 2); }
    void u32(std::uint32_t value) { little(value, 4); }
    void little(std::uint32_t value, int count)
    {
        for (int i = 0; i < count; ++i)
            bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
    }

    std::vector<unsigned char> bytes;
};

std::uint16_t read_u16(const unsigned char* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t read_u32(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

unsigned bits_of(WavSampleFormat format)
{
    switch (format)
    {
    case WavSampleFormat::pcm16:
        return 16;
    case WavSampleFormat::pcm24:
        return 24;
    case WavSampleFormat::pcm32:
    case WavSampleFormat::float32:
        return 32;
    }
    return 32;
}

// Full scale maps to the largest step; -1 to the smallest value.
std::int32_t quantise(float sample, unsigned bits)
{
    const double scale = std::ldexp(1.0, static_cast<int>(bits) - 1);
    const double value = std::nearbyint(static_cast<double>(sample) * scale);
    if (std::isnan(value))
        return 0;
    const double clamped = std::clamp(value, -scale, scale - 1.0);
    return static_cast<std::int32_t>(clamped);
}

Format parse_format(const unsigned char* p, std::uint32_t size)
{
    if (size < 16)
        throw std::runtime_error("its fmt chunk is too short");
    Format format;
    format.tag = read_u16(p);
    format.channels = read_u16(p + 2);
    format.rate = read_u32(p + 4);
    format.block_align = read_u16(p + 12);
    format.bits = read_u16(p + 14);
    if (format.tag == tag_extensible)
    {
        if (size < 40 || read_u16(p + 16) < 22)
            throw std::runtime_error("its extensible fmt chunk is too short");
        if (std::memcmp(p + 26, guid_tail, sizeof(guid_tail)) != 0)
            throw std::runtime_error("its sub-format is not PCM or float");
        format.tag = read_u16(p + 24);
    }
    if (format.channels == 0)
        throw std::runtime_error("it has no channels");
    if (format.rate == 0 || format.rate > 10'000'000)
        throw std::runtime_error("its sample rate " + std::to_string(format.rate) +
                                 " is not a rate");
    const bool pcm =
        format.tag == tag_pcm && (format.bits == 16 || format.bits == 24 || format.bits == 32);
    const bool floating = format.tag == tag_float && format.bits == 32;
    if (!pcm && !floating)
    {
        const std::string kind = format.tag == tag_pcm ? "integer PCM"
                                 : format.tag == tag_float
                                     ? "float"
                                     : "format tag " + std::to_string(format.tag);
        throw std::runtime_error("its samples are " + std::to_string(format.bits) + "-bit " + kind +
                                 "; 16-, 24- and 32-bit integer PCM and 32-bit float are "
                                 "supported");
    }
    if (format.block_align != format.channels * (format.bits / 8))
        throw std::runtime_error("its block alignment " + std::to_string(format.block_align) +
                                 " does not fit " + std::to_string(format.channels) +
                                 " channels of " + std::to_string(format.bits) + " bits");
    return format;
}

float decode_sample(const unsigned char* p, const Format& format)
{
    switch (format.bits)
    {
    case 16:
        return static_cast<float>(static_cast<std::int16_t>(read_u16(p)) / 32768.0);
    case 24:
    {
        // Sign-extended through the top byte of a 32-bit word.
        const auto word = static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) << 8 |
                                                    static_cast<std::uint32_t>(p[1]) << 16 |
                                                    static_cast<std::uint32_t>(p[2]) << 24);
        return static_cast<float>((word >> 8) / 8388608.0);
    }
    default:
        if (format.tag == tag_float)
            return std::bit_cast<float>(read_u32(p));
        return static_cast<float>(static_cast<std::int32_t>(read_u32(p)) / 2147483648.0);
    }
}

} // namespace

std::vector<unsigned char> encode_wav(const AudioData& audio, WavSampleFormat format)
{
    const unsigned bits = bits_of(format);
    const auto channels = static_cast<std::uint64_t>(audio.channels.size());
    const std::uint64_t frames = audio.get_frames();
    const std::uint64_t data_size = frames * channels * (bits / 8);
    const bool floating = format == WavSampleFormat::float32;
    const std::uint64_t header_size = floating ? 58 : 44;
    if (channels == 0 || channels > 0xFFFF)
        throw std::length_error("a WAV file holds 1 to 65535 channels");
    if (header_size + data_size + 1 > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("the audio is too long for a WAV file");

    ByteWriter out(static_cast<std::size_t>(header_size + data_size + 1));
    const std::uint64_t pad = data_size % 2;
    out.text("RIFF");
    out.u32(static_cast<std::uint32_t>(header_size - 8 + data_size + pad));
    out.text("WAVE");
    out.text("fmt ");
    out.u32(floating ? 18 : 16);
    out.u16(floating ? tag_float : tag_pcm);
    out.u16(static_cast<std::uint16_t>(channels));
    out.u32(static_cast<std::uint32_t>(audio.rate));
    const auto block_align = static_cast<std::uint32_t>(channels * (bits / 8));
    out.u32(static_cast<std::uint32_t>(audio.rate) * block_align);
    out.u16(static_cast<std::uint16_t>(block_align));
    out.u16(static_cast<std::uint16_t>(bits));
    if (floating)
    {
        // Non-PCM formats carry an extension size and a fact chunk with the frame count.
        out.u16(0);
        out.text("fact");
        out.u32(4);
        out.u32(static_cast<std::uint32_t>(frames));
    }
    out.text("data");
    out.u32(static_cast<std::uint32_t>(data_size));
    for (std::size_t frame = 0; frame < frames; ++frame)
    {
        for (const auto& channel : audio.channels)
        {
            const float sample = channel[frame];
            if (floating)
                out.u32(std::bit_cast<std::uint32_t>(sample));
            else
                out.little(static_cast<std::uint32_t>(quantise(sample, bits)),
                           static_cast<int>(bits / 8));
        }
    }
    if (pad != 0)
        out.bytes.push_back(0);
    return std::move(out.bytes);
}

AudioData decode_wav(std::span<const unsigned char> bytes)
{
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        throw std::runtime_error("not a RIFF WAVE file");

    std::optional<Format> format;
    std::span<const unsigned char> data;
    bool have_data = false;
    std::size_t at = 12;
    while (at + 8 <= bytes.size() && !(format && have_data))
    {
        const unsigned char* header = bytes.data() + at;
        const std::uint32_t size = read_u32(header + 4);
        const std::size_t body = at + 8;
        const std::size_t available = std::min<std::size_t>(size, bytes.size() - body);
        if (std::memcmp(header, "fmt ", 4) == 0)
        {
            if (available < size)
                throw std::runtime_error("its fmt chunk runs past the end of the file");
            format = parse_format(bytes.data() + body, size);
        }
        else if (std::memcmp(header, "data", 4) == 0 && !have_data)
        {
            data = bytes.subspan(body, available);
            have_data = true;
        }
        // Chunks are padded to an even size.
        at = body + static_cast<std::size_t>(size) + (size % 2);
    }
    if (!format)
        throw std::runtime_error("it has no fmt chunk");
    if (!have_data)
        throw std::runtime_error("it has no data chunk");

    AudioData audio;
    audio.rate = static_cast<int>(format->rate);
    const std::size_t frames = data.size() / format->block_align;
    const std::size_t sample_bytes = format->bits / 8;
    audio.channels.assign(format->channels, std::vector<float>(frames));
    for (std::size_t frame = 0; frame < frames; ++frame)
    {
        const unsigned char* p = data.data() + frame * format->block_align;
        for (unsigned channel = 0; channel < format->channels; ++channel)
            audio.channels[channel][frame] = decode_sample(p + channel * sample_bytes, *format);
    }
    return audio;
}

} // namespace morvane_host
