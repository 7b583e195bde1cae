#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace morvane_host_test
{

// Builds standard MIDI files byte by byte, for tests of the readers and of --midi.
class SmfBuilder
{
public:
    using Bytes = std::vector<unsigned char>;

    // A track's events: each a delta time in ticks and the raw bytes that follow it.
    class Track
    {
    public:
        Track& event(std::uint32_t delta, std::initializer_list<unsigned char> bytes)
        {
            append_length(delta);
            body.insert(body.end(), bytes);
            return *this;
        }
        Track& tempo(std::uint32_t delta, std::uint32_t microseconds_per_quarter)
        {
            return event(delta, {0xFF, 0x51, 0x03,
                                 static_cast<unsigned char>(microseconds_per_quarter >> 16),
                                 static_cast<unsigned char>(microseconds_per_quarter >> 8),
                                 static_cast<unsigned char>(microseconds_per_quarter)});
        }
        Track& end(std::uint32_t delta = 0) { return event(delta, {0xFF, 0x2F, 0x00}); }

        void append_length(std::uint32_t value)
        {
            unsigned char groups[5];
            int count = 0;
            do
            {
                groups[count++] = static_cast<unsigned char>(value & 0x7F);
                value >>= 7;
            } while (value != 0);
            while (count-- > 0)
                body.push_back(static_cast<unsigned char>(groups[count] | (count > 0 ? 0x80 : 0)));
        }

        Bytes body;
    };

    static Bytes file(std::uint16_t format, std::uint16_t division,
                      const std::vector<Track>& tracks)
    {
        Bytes bytes = {'M', 'T', 'h', 'd', 0, 0, 0, 6};
        append16(bytes, format);
        append16(bytes, static_cast<std::uint16_t>(tracks.size()));
        append16(bytes, division);
        for (const Track& track : tracks)
        {
            bytes.insert(bytes.end(), {'M', 'T', 'r', 'k'});
            append32(bytes, static_cast<std::uint32_t>(track.body.size()));
            bytes.insert(bytes.end(), track.body.begin(), track.body.end());
        }
        return bytes;
    }

    static void append16(Bytes& bytes, std::uint16_t value)
    {
        bytes.push_back(static_cast<unsigned char>(value >> 8));
        bytes.push_back(static_cast<unsigned char>(value));
    }
    static void append32(Bytes& bytes, std::uint32_t value)
    {
        append16(bytes, static_cast<std::uint16_t>(value >> 16));
        append16(bytes, static_cast<std::uint16_t>(value));
    }
};

} // namespace morvane_host_test
