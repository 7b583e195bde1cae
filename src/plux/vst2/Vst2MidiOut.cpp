#include "plux/vst2/Vst2MidiOut.hpp"

#include <algorithm>
#include <cstring>
#include <new>

#include "plux/midi/MidiMgr.hpp"
#include "plux/vst2/Vst2MidiHostInterface.hpp"

namespace plux
{

void Vst2MidiOut::ListDeleter::operator()(vst2::VstEvents* list) const noexcept
{
    ::operator delete(list);
}

std::unique_ptr<vst2::VstEvents, Vst2MidiOut::ListDeleter> Vst2MidiOut::make_list()
{
    // The header, then one pointer per event: the interface declares two, a list holds more.
    const std::size_t bytes =
        std::max(sizeof(vst2::VstEvents),
                 offsetof(vst2::VstEvents, events) + max_events * sizeof(vst2::VstEvent*));
    void* const raw = ::operator new(bytes);
    std::memset(raw, 0, bytes);
    return std::unique_ptr<vst2::VstEvents, ListDeleter>(new (raw) vst2::VstEvents{});
}

Vst2MidiOut::Vst2MidiOut(Vst2MidiHostInterface& host)
    : host_(host)
    , lists_(std::make_unique<std::array<EventList, 2>>())
{
    for (EventList& list : *lists_)
    {
        list.list = make_list();
        vst2::VstEvent** const slots = list.list->events;
        for (std::size_t i = 0; i < list.events.size(); ++i)
        {
            vst2::VstMidiEvent& event = list.events[i];
            event = vst2::VstMidiEvent{};
            event.type = vst2::kVstMidiType;
            event.byteSize = static_cast<vst2::VstInt32>(sizeof(vst2::VstMidiEvent));
            slots[i] = reinterpret_cast<vst2::VstEvent*>(&event);
        }
    }
}

Vst2MidiOut::~Vst2MidiOut() = default;

void Vst2MidiOut::attach(MidiMgr& mgr) noexcept
{
    set_reg_settings(&mgr.use_reg_settings());
}

int Vst2MidiOut::open()
{
    // Nobody sends or reads while the output is not selected, so the queue can be drained here.
    // The lists keep alternating across sessions: the host may still hold the last one.
    queue_.pop_all([](std::uint32_t) {});
    enabled_.store(true);
    return 0;
}

int Vst2MidiOut::close()
{
    enabled_.store(false);
    return 0;
}

int Vst2MidiOut::send_packet(int status, int data_1, int data_2, int data_3) noexcept
{
    const std::uint32_t packet = pack(status, data_1, data_2, data_3);
    return send_packets({&packet, 1});
}

int Vst2MidiOut::send_packets(std::span<const std::uint32_t> packets) noexcept
{
    return enabled_.load() && queue_.push(packets) ? 0 : -1;
}

void Vst2MidiOut::begin_block() noexcept
{
    if (!enabled_.load())
    {
        return;
    }
    EventList& list = (*lists_)[static_cast<std::size_t>(fill_index_)];
    // The queue never holds more than a list does.
    int count = 0;
    queue_.pop_all(
        [&](std::uint32_t packet)
        {
            char* const data = list.events[static_cast<std::size_t>(count++)].midiData;
            for (int i = 0; i < 4; ++i)
            {
                data[i] = static_cast<char>((packet >> (8 * i)) & 0xFF);
            }
        });
    if (count == 0)
    {
        return;
    }
    list.list->numEvents = count;
    host_.send_events_to_host(*list.list);
    fill_index_ = 1 - fill_index_;
    (*lists_)[static_cast<std::size_t>(fill_index_)].list->numEvents = 0;
}

} // namespace plux
