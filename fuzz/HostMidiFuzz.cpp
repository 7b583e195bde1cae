// MIDI from the host: event lists through effProcessEvents, each followed by its audio block, as
// a host calls them on its audio thread.
//
// Input: a flag byte (bit 0: auto-bind waits for a controller for parameter flags >> 4 & 7; bit
// 1: parameter changes echo to the host's MIDI output), then lists. A list is a count byte c and
// c events of 8 bytes: a kind (0 to 2: a MIDI event, 3: a null slot, else an event of another
// type), a signed 16-bit delta frame, three MIDI bytes and two bytes of note length. Each list
// is followed by a block of 1 to 256 frames, its length in the byte after the list.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "FuzzEffect.hpp"
#include "plux/midi/MidiDevSelDispatcher.hpp"
#include "plux/midi/MidiMgr.hpp"
#include "plux/vst2/Vst2WinPlugin.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::FuzzEffect effect;
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
        // A list with room for exactly its events, as a host lays it out.
        const std::size_t wanted = data[pos++];
        const std::size_t count = std::min(wanted, (size - pos) / 8);
        vst2host::MidiEventList list(count);
        vst2::VstEvent** slots = list.use_events()->events;
        for (std::size_t i = 0; i < count; ++i, pos += 8)
        {
            const std::uint8_t* e = data + pos;
            list.add(static_cast<std::int16_t>(e[1] | (e[2] << 8)), e[3], e[4], e[5]);
            auto* event = reinterpret_cast<vst2::VstMidiEvent*>(slots[i]);
            event->type = e[0] <= 3 ? vst2::kVstMidiType : (e[0] == vst2::kVstSysExType ? 0 : e[0]);
            event->noteLength = e[6] | (e[7] << 8);
            slots[i] = e[0] == 3 ? nullptr : slots[i];
        }
        effect.use_host().dispatch(vst2::effProcessEvents, 0, 0, list.use_events());
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
