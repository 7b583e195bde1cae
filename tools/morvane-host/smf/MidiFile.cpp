// Standard MIDI files through libsmf.
#include "morvane-host/MidiFile.hpp"

#include <algorithm>
#include <memory>
#include <smf.h>
#include <tuple>

#include "morvane-host/FileBytes.hpp"
#include "morvane-host/ToolError.hpp"

namespace morvane_host
{

namespace
{

struct DeleteSmf
{
    void operator()(smf_t* smf) const noexcept { smf_delete(smf); }
};

// libsmf reports through GLib's log; while it parses, its messages are kept for the error line
// instead of reaching the terminal.
class LogCapture
{
public:
    LogCapture()
        : handler(g_log_set_handler("libsmf", static_cast<GLogLevelFlags>(G_LOG_LEVEL_MASK),
                                    &LogCapture::keep, this))
    {
    }
    ~LogCapture() { g_log_remove_handler("libsmf", handler); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // The first error or critical message, else the first of any level.
    const std::string& get_message() const noexcept { return message; }

private:
    static void keep(const gchar*, GLogLevelFlags level, const gchar* text, gpointer self)
    {
        auto* capture = static_cast<LogCapture*>(self);
        const bool serious = (level & (G_LOG_LEVEL_ERROR | G_LOG_LEVEL_CRITICAL)) != 0;
        if (text != nullptr && (capture->message.empty() || (serious && !capture->serious)))
        {
            capture->message = text;
            capture->serious = serious;
        }
    }

    guint handler;
    std::string message;
    bool serious = false;
};

} // namespace

std::vector<ControllerEvent> read_midi_controllers(const std::string& path)
{
    const std::vector<unsigned char> bytes = read_file_bytes(path);
    const std::string failure = path + ": cannot read as a MIDI file: ";
    std::unique_ptr<smf_t, DeleteSmf> smf;
    std::string message;
    {
        LogCapture capture;
        if (!bytes.empty())
            smf.reset(smf_load_from_memory(bytes.data(), static_cast<int>(bytes.size())));
        message = capture.get_message();
    }
    if (!smf)
        throw ToolError(ExitCode::file,
                        failure + (message.empty() ? "not a standard MIDI file" : message));
    if (smf->format != 0 && smf->format != 1)
        throw ToolError(ExitCode::file, failure + "it is of format " + std::to_string(smf->format) +
                                            "; formats 0 and 1 are supported");

    // libsmf merges the tracks in an order of its own for equal times; the file's order is kept.
    struct Ordered
    {
        int pulses;
        int track;
        int number;
        ControllerEvent event;
    };
    std::vector<Ordered> ordered;
    while (const smf_event_t* event = smf_get_next_event(smf.get()))
    {
        if (event->midi_buffer_length == 3 && (event->midi_buffer[0] & 0xF0) == 0xB0)
            ordered.push_back({event->time_pulses,
                               event->track->track_number,
                               event->event_number,
                               {event->time_seconds, event->midi_buffer[0], event->midi_buffer[1],
                                event->midi_buffer[2]}});
    }
    std::sort(
        ordered.begin(), ordered.end(),
        [](const Ordered& a, const Ordered& b)
        { return std::tie(a.pulses, a.track, a.number) < std::tie(b.pulses, b.track, b.number); });
    std::vector<ControllerEvent> events;
    for (const Ordered& each : ordered)
        events.push_back(each.event);
    return events;
}

std::string describe_midi_reader()
{
    return "Standard MIDI files of format 0 and 1 (read with libsmf).";
}

} // namespace morvane_host
