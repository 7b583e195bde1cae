#include "vst2host/MidiEventList.hpp"

#include <algorithm>
#include <cstring>
#include <new>

namespace vst2host
{

void MidiEventList::Release::operator()(vst2::VstEvents* list) const noexcept
{
    ::operator delete(list);
}

MidiEventList::MidiEventList(std::size_t capacity)
    : capacity(capacity)
{
    events.reserve(capacity);
    // The header, then one pointer per event; never less than the declared structure.
    const std::size_t bytes =
        std::max(sizeof(vst2::VstEvents),
                 offsetof(vst2::VstEvents, events) + capacity * sizeof(vst2::VstEvent*));
    void* raw = ::operator new(bytes);
    std::memset(raw, 0, bytes);
    list.reset(new (raw) vst2::VstEvents{});
}

bool MidiEventList::add(vst2::VstInt32 delta_frames, unsigned char status, unsigned char data1,
                        unsigned char data2)
{
    if (events.size() >= capacity)
        return false;
    vst2::VstMidiEvent event{};
    event.type = vst2::kVstMidiType;
    event.byteSize = static_cast<vst2::VstInt32>(sizeof(vst2::VstMidiEvent));
    event.deltaFrames = delta_frames;
    event.midiData[0] = static_cast<char>(status);
    event.midiData[1] = static_cast<char>(data1);
    event.midiData[2] = static_cast<char>(data2);
    events.push_back(event);
    // Indexing through a plain pointer: the declared array has two entries, the allocation more.
    vst2::VstEvent** slots = list->events;
    slots[events.size() - 1] = reinterpret_cast<vst2::VstEvent*>(&events.back());
    list->numEvents = static_cast<vst2::VstInt32>(events.size());
    return true;
}

void MidiEventList::clear() noexcept
{
    vst2::VstEvent** slots = list->events;
    for (std::size_t i = 0; i < events.size(); ++i)
        slots[i] = nullptr;
    events.clear();
    list->numEvents = 0;
}

} // namespace vst2host
