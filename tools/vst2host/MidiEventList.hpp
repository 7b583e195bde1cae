#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "plux/vst2/Vst2Abi.hpp"

namespace vst2host
{

// A VstEvents list of MIDI events as a host hands it to effProcessEvents. The list is allocated
// with room for exactly as many event pointers as its capacity (the interface's array is variable
// length), and the events live as long as the list.
class MidiEventList
{
public:
    explicit MidiEventList(std::size_t capacity);
    MidiEventList(const MidiEventList&) = delete;
    MidiEventList& operator=(const MidiEventList&) = delete;

    // A three-byte channel message at delta_frames into the next block. False when the list is
    // full.
    bool add(vst2::VstInt32 delta_frames, unsigned char status, unsigned char data1,
             unsigned char data2);
    void clear() noexcept;

    std::size_t size() const noexcept { return events.size(); }
    std::size_t get_capacity() const noexcept { return capacity; }

    // Stays owned by the list; valid until the list changes.
    vst2::VstEvents* use_events() noexcept { return list.get(); }

private:
    struct Release
    {
        void operator()(vst2::VstEvents* list) const noexcept;
    };

    std::size_t capacity;
    std::vector<vst2::VstMidiEvent> events; // reserved to capacity, so pointers into it stay
    std::unique_ptr<vst2::VstEvents, Release> list;
};

} // namespace vst2host
