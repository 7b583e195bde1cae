#pragma once

#include <array>
#include <atomic>
#include <memory>

#include "plux/midi/MidiOut4BPacketMixin.hpp"
#include "plux/midi/MidiPacketQueue.hpp"
#include "plux/vst2/Vst2Abi.hpp"

namespace plux
{

class MidiMgr;
class Vst2MidiHostInterface;

// MIDI to the host. Packets sent from any thread wait in a queue; at the start of each block the
// audio thread moves them into one of two lists of up to max_events VST MIDI events (type 1,
// 32 bytes, delta frames 0, the four packet bytes) and hands the list to the host, which may
// read it until the next block, while the next block fills the other list. A packet that finds
// max_events others waiting is refused, with the rest of its message.
class Vst2MidiOut final : public MidiOut4BPacketMixin
{
public:
    static constexpr int max_events = 1024;

    explicit Vst2MidiOut(Vst2MidiHostInterface& host);
    ~Vst2MidiOut() override;
    Vst2MidiOut(const Vst2MidiOut&) = delete;
    Vst2MidiOut& operator=(const Vst2MidiOut&) = delete;

    // Editor thread, while the output is not in use: takes the manager's NRPN compatibility.
    void attach(MidiMgr& mgr) noexcept;
    // Opening drops what an earlier session left unsent.
    int open() override;
    int close() override;
    bool is_enabled() const noexcept { return enabled_.load(); }

    // Any thread: 0 when queued for the next block, -1 when closed or full.
    int send_packet(int status, int data_1, int data_2, int data_3) noexcept override;
    int send_packets(std::span<const std::uint32_t> packets) noexcept override;

    // Audio thread.
    void begin_block() noexcept override;

private:
    struct ListDeleter
    {
        void operator()(vst2::VstEvents* list) const noexcept;
    };
    struct EventList
    {
        std::array<vst2::VstMidiEvent, max_events> events;
        std::unique_ptr<vst2::VstEvents, ListDeleter> list;
    };

    static std::unique_ptr<vst2::VstEvents, ListDeleter> make_list();

    Vst2MidiHostInterface& host_;
    std::unique_ptr<std::array<EventList, 2>> lists_;
    int fill_index_ = 0;
    MidiPacketQueue queue_{max_events};
    std::atomic<bool> enabled_{false};
};

} // namespace plux
