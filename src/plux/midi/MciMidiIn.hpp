#pragma once

#include <cstdint>

#include "basic/LockFreeRingFifo.hpp"
#include "plux/midi/MciMidiPort.hpp"
#include "plux/midi/MidiInCcMixin.hpp"

namespace plux
{

// A system MIDI input port. The system's MIDI thread queues each data message in a lock-free
// FIFO; the audio thread decodes the queue at the start of each block, in arrival order. A full
// FIFO drops new messages, keeping the ones it holds.
class MciMidiIn final : public MidiInCcMixin
{
public:
    static constexpr int def_fifo_slots = 4000;
    // The system's code of a data message (MIM_DATA).
    static constexpr unsigned int port_msg_data = 0x3C3;

    struct Event
    {
        std::int32_t status;
        std::int32_t data_1;
        std::int32_t data_2;
        std::int32_t time; // milliseconds since the port was started
    };

    // sys_index: the port's number among the system's inputs. Allocates the FIFO.
    explicit MciMidiIn(int sys_index, int fifo_slots = def_fifo_slots);
    ~MciMidiIn() override;
    MciMidiIn(const MciMidiIn&) = delete;
    MciMidiIn& operator=(const MciMidiIn&) = delete;

    // Editor thread, while the input is not in use. Opening drops what an earlier session left
    // queued. 0, or -1.
    int open() override;
    int close() override;
    bool is_open() const noexcept { return handle_ != nullptr; }
    int get_sys_index() const noexcept { return sys_index_; }

    // Audio thread.
    void begin_block() noexcept override;

    // The system's MIDI thread: a short message (status in the low byte, then data 1 and
    // data 2) with its time stamp.
    void push_data(std::uint32_t msg, std::uint32_t time) noexcept;
    // The port callback's work: instance is the MciMidiIn, msg the system's message code; only
    // data messages are queued.
    static void on_port_message(void* instance, unsigned int msg, std::uintptr_t param_1,
                                std::uintptr_t param_2) noexcept;

protected:
    void process_ctrl(int chn, int ctrl_id, int value) noexcept override;

private:
    const int sys_index_;
    MciMidiPort::Handle handle_ = nullptr;
    basic::LockFreeRingFifo<Event> fifo_;
};

} // namespace plux
