#include "morvane-host/SmfParser.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

namespace morvane_host
{

namespace
{

constexpr std::uint32_t default_tempo = 500000; // microseconds per quarter note: 120 BPM

struct TickEvent
{
    std::uint64_t tick = 0;
    ControllerEvent event;
};

struct TempoChange
{
    std::uint64_t tick = 0;
    std::uint32_t microseconds_per_quarter = default_tempo;
};

std::uint32_t read_be(const unsigned char* p, int count)
{
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value = value << 8 | p[i];
    return value;
}

// One MTrk chunk's events, read from its bytes.
class TrackReader
{
public:
    TrackReader(std::span<const unsigned char> bytes, int track)
        : bytes(bytes)
        , track(track)
    {
    }

    void read(std::vector<TickEvent>& events, std::vector<TempoChange>& tempi)
    {
        std::uint64_t tick = 0;
        unsigned char running = 0;
        while (at < bytes.size())
        {
            tick += read_length();
            unsigned char status = next();
            if (status < 0x80)
            {
                if (running == 0)
                    fail("a data byte without a status");
                --at;
                status = running;
            }
            if (status == 0xFF)
            {
                running = 0;
                const unsigned char type = next();
                const std::uint32_t length = read_length();
                const std::span<const unsigned char> data = take(length);
                if (type == 0x2F)
                    return;
                if (type == 0x51)
                {
                    if (length != 3)
                        fail("a tempo event of " + std::to_string(length) + " bytes");
                    const std::uint32_t tempo = read_be(data.data(), 3);
                    if (tempo == 0)
                        fail("a tempo of zero");
                    tempi.push_back({tick, tempo});
                }
            }
            else if (status == 0xF0 || status == 0xF7)
            {
                running = 0;
                take(read_length());
            }
            else if (status >= 0xF0)
            {
                fail("the system message " + hex(status), 1);
            }
            else
            {
                running = status;
                const int kind = status & 0xF0;
                const unsigned char data1 = data_byte();
                const unsigned char data2 = (kind == 0xC0 || kind == 0xD0) ? 0 : data_byte();
                if (kind == 0xB0)
                    events.push_back({tick, {0.0, status, data1, data2}});
            }
        }
    }

private:
    static std::string hex(unsigned char byte)
    {
        const char digits[] = "0123456789ABCDEF";
        return std::string("0x") + digits[byte >> 4] + digits[byte & 15];
    }

    [[noreturn]] void fail(const std::string& what, std::size_t back = 0) const
    {
        throw std::runtime_error(what + " at byte " + std::to_string(at - back) + " of track " +
                                 std::to_string(track));
    }

    unsigned char next()
    {
        if (at >= bytes.size())
            fail("an event cut off by the end of the track");
        return bytes[at++];
    }

    unsigned char data_byte()
    {
        const unsigned char byte = next();
        if (byte >= 0x80)
            fail("a status byte where a data byte belongs", 1);
        return byte;
    }

    // A variable-length quantity: at most four bytes of seven bits.
    std::uint32_t read_length()
    {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
        {
            const unsigned char byte = next();
            value = value << 7 | (byte & 0x7F);
            if ((byte & 0x80) == 0)
                return value;
        }
        fail("a variable-length number of more than four bytes");
    }

    std::span<const unsigned char> take(std::uint32_t length)
    {
        if (length > bytes.size() - at)
            fail("an event longer than its track");
        const std::span<const unsigned char> data = bytes.subspan(at, length);
        at += length;
        return data;
    }

    std::span<const unsigned char> bytes;
    int track;
    std::size_t at = 0;
};

// Seconds of a tick under the tempo map (sorted by tick).
class TempoMap
{
public:
    TempoMap(std::uint16_t division, std::vector<TempoChange> changes)
        : changes(std::move(changes))
    {
        if (division & 0x8000)
        {
            // SMPTE: frames per second (negative in the high byte) times ticks per frame.
            const int fps = -static_cast<int>(static_cast<std::int8_t>(division >> 8));
            const int ticks_per_frame = division & 0xFF;
            if ((fps != 24 && fps != 25 && fps != 29 && fps != 30) || ticks_per_frame == 0)
                throw std::runtime_error("its SMPTE time division is not valid");
            const double frame_rate = fps == 29 ? 30000.0 / 1001.0 : fps;
            seconds_per_tick = 1.0 / (frame_rate * ticks_per_frame);
        }
        else
        {
            if (division == 0)
                throw std::runtime_error("its time division is zero");
            ticks_per_quarter = division;
        }
    }

    double get_seconds(std::uint64_t tick) const
    {
        if (seconds_per_tick > 0.0)
            return static_cast<double>(tick) * seconds_per_tick;
        double seconds = 0.0;
        std::uint64_t from = 0;
        std::uint32_t tempo = default_tempo;
        for (const TempoChange& change : changes)
        {
            if (change.tick >= tick)
                break;
            seconds += span(change.tick - from, tempo);
            from = change.tick;
            tempo = change.microseconds_per_quarter;
        }
        return seconds + span(tick - from, tempo);
    }

private:
    double span(std::uint64_t ticks, std::uint32_t tempo) const
    {
        return static_cast<double>(ticks) * tempo * 1e-6 / ticks_per_quarter;
    }

    std::vector<TempoChange> changes;
    double seconds_per_tick = 0.0;
    double ticks_per_quarter = 1.0;
};

} // namespace

std::vector<ControllerEvent> parse_smf_controllers(std::span<const unsigned char> bytes)
{
    if (bytes.size() < 14 || std::memcmp(bytes.data(), "MThd", 4) != 0)
        throw std::runtime_error("not a standard MIDI file (no MThd header)");
    const std::uint32_t header_length = read_be(bytes.data() + 4, 4);
    if (header_length < 6 || header_length > bytes.size() - 8)
        throw std::runtime_error("its header has a length of " + std::to_string(header_length));
    const std::uint32_t format = read_be(bytes.data() + 8, 2);
    const std::uint32_t tracks = read_be(bytes.data() + 10, 2);
    const auto division = static_cast<std::uint16_t>(read_be(bytes.data() + 12, 2));
    if (format == 2)
        throw std::runtime_error("it is of format 2 (independent sequences); formats 0 and 1 are "
                                 "supported");
    if (format > 2)
        throw std::runtime_error("it is of the unknown format " + std::to_string(format));

    std::vector<TickEvent> events;
    std::vector<TempoChange> tempi;
    std::size_t at = 8 + header_length;
    std::uint32_t track = 0;
    while (track < tracks)
    {
        if (bytes.size() - at < 8)
            throw std::runtime_error("it ends before track " + std::to_string(track + 1) + " of " +
                                     std::to_string(tracks));
        const std::uint32_t length = read_be(bytes.data() + at + 4, 4);
        const std::size_t body = at + 8;
        if (length > bytes.size() - body)
            throw std::runtime_error("track " + std::to_string(track + 1) +
                                     " runs past the end of the file");
        // Chunks of other types may appear and are skipped.
        if (std::memcmp(bytes.data() + at, "MTrk", 4) == 0)
        {
            ++track;
            TrackReader(bytes.subspan(body, length), static_cast<int>(track)).read(events, tempi);
        }
        at = body + length;
    }

    // Events of different tracks at the same tick keep the order of their tracks.
    std::stable_sort(events.begin(), events.end(),
                     [](const TickEvent& a, const TickEvent& b) { return a.tick < b.tick; });
    std::stable_sort(tempi.begin(), tempi.end(),
                     [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
    const TempoMap map(division, std::move(tempi));
    std::vector<ControllerEvent> result;
    result.reserve(events.size());
    for (TickEvent& timed : events)
    {
        timed.event.seconds = map.get_seconds(timed.tick);
        result.push_back(timed.event);
    }
    return result;
}

} // namespace morvane_host
