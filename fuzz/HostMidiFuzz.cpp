// MIDI from the host: event lists through effProcessEvents, each followed by its audio block, as
// a host calls them on its audio thread.
//
// Input: a flag byte (bit 0: auto-bind waits for a controller for parameter flags >> 4 & 7; bit
// 1: parameter changes echo to the host's MIDI output), then lists. A list is a count byte c and
// c events of 8 bytes: a kind (0 to 2: a MIDI event, 3: a null slot, else an event of another
// type), a signed 16-bit delta frame, three MIDI bytes and two bytes of note length. Each list
// is followed by a block of 1 to 256 frames, its length in the byte after the list.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "FuzzEffect.hpp"
#include "plux/midi/MidiDevSelDispatcher.hpp"
#include "plux/midi/MidiMgr.hpp"
#include "plux/vst2/Vst2WinPlugin.hpp"

namespace
{

// A list as a host lays it out: the header, then one pointer per event.
class EventList
{
public:
    void clear()
    {
        events_.clear();
        null_slots_.clear();
    }
    void add(const vst2::VstMidiEvent& event, bool null_slot)
    {
        events_.push_back(event);
        null_slots_.push_back(null_slot);
    }
    vst2::VstEvents* build()
    {
        const std::size_t n = events_.size();
        storage_.assign(sizeof(vst2::VstEvents) + n * sizeof(vst2::VstEvent*), 0);
        auto* list = reinterpret_cast<vst2::VstEvents*>(storage_.data());
        list->numEvents = static_cast<vst2::VstInt32>(n);
        auto** slots =
            reinterpret_cast<vst2::VstEvent**>(storage_.data() + offsetof(vst2::VstEvents, events));
        for (std::size_t i = 0; i < n; ++i)
        {
            slots[i] = null_slots_[i] ? nullptr : reinterpret_cast<vst2::VstEvent*>(&events_[i]);
        }
        return list;
    }

private:
    std::vector<vst2::VstMidiEvent> events_;
    std::vector<bool> null_slots_;
    alignas(vst2::VstEvents) std::vector<std::uint8_t> storage_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::FuzzEffect effect;
    static EventList list;
    if (size < 1)
    {
        return 0;
    }
    effect.reset();
    plux::Vst2WinPlugin& plugin = effect.use_plugin();
    plux::MidiMgr& mgr = *plugin.use_midi_mgr();
    const std::uint8_t flags = data[0];
    mgr.set_autobind_target((flags & 1) != 0 ? (flags >> 4) & 7 : -1);
    if ((flags & 2) != 0)
    {
        plugin.use_midi_dispatcher()->select_out(0);
    }

    std::size_t pos = 1;
    while (pos < size)
    {
        const std::size_t count = data[pos++];
        list.clear();
        for (std::size_t i = 0; i < count && pos + 8 <= size; ++i, pos += 8)
        {
            const std::uint8_t* e = data + pos;
            vst2::VstMidiEvent event{};
            event.type = e[0] <= 3 ? vst2::kVstMidiType : (e[0] == vst2::kVstSysExType ? 0 : e[0]);
            event.byteSize = sizeof(vst2::VstMidiEvent);
            event.deltaFrames = static_cast<std::int16_t>(e[1] | (e[2] << 8));
            std::memcpy(event.midiData, e + 3, 3);
            event.noteLength = e[6] | (e[7] << 8);
            list.add(event, e[0] == 3);
        }
        effect.dispatch(vst2::effProcessEvents, 0, 0, list.build());
        const int frames = pos < size ? 1 + data[pos++] : 64;
        effect.process(frames);
        effect.check_params();
    }
    mgr.cancel_autobind_target();
    // Leaves the default map for the next input, whatever auto-bind bound.
    mgr.set_default_map();
    plugin.use_midi_dispatcher()->select_default(true, false);
    return 0;
}
