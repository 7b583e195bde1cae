#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace plux
{

// MIDI packets on their way from any number of sending threads to the one thread that hands
// them on (the audio thread, at the start of each block). Bounded: a message of several packets
// goes in whole or not at all, so a 14-bit pair or an NRPN is never cut. Senders never wait: a
// place is reserved with one compare-and-swap, and each slot carries the position it was written
// for, so the reader takes only slots whose writing has finished, in order; one still being
// written is taken at the next block.
class MidiPacketQueue
{
public:
    // Allocates.
    explicit MidiPacketQueue(int capacity);
    MidiPacketQueue(const MidiPacketQueue&) = delete;
    MidiPacketQueue& operator=(const MidiPacketQueue&) = delete;

    // Any thread. False, with nothing queued, when there is no room for all the packets.
    bool push(std::span<const std::uint32_t> packets) noexcept;

    // The reading thread: f(packet) for each packet ready, in order. Returns how many.
    template <typename F>
    int pop_all(F&& f) noexcept
    {
        std::uint64_t pos = tail_.load(std::memory_order_relaxed);
        int count = 0;
        for (;;)
        {
            const std::uint64_t slot = slots_[pos % capacity_].load(std::memory_order_acquire);
            if (stamp_of(slot) != stamp_for(pos))
            {
                break;
            }
            f(static_cast<std::uint32_t>(slot));
            ++pos;
            ++count;
        }
        tail_.store(pos, std::memory_order_release);
        return count;
    }

    int get_capacity() const noexcept { return static_cast<int>(capacity_); }

private:
    // A slot holds the packet in its low 32 bits and, above, the low 32 bits of the position it
    // was written for plus one (so that a fresh slot, all zero, is never ready).
    static std::uint32_t stamp_for(std::uint64_t pos) noexcept
    {
        return static_cast<std::uint32_t>(pos + 1);
    }
    static std::uint32_t stamp_of(std::uint64_t slot) noexcept
    {
        return static_cast<std::uint32_t>(slot >> 32);
    }

    const std::uint64_t capacity_;
    std::unique_ptr<std::atomic<std::uint64_t>[]> slots_;
    // Positions count up for ever (64 bits do not wrap in practice): the next to reserve, and
    // the next to read.
    alignas(64) std::atomic<std::uint64_t> head_{0};
    alignas(64) std::atomic<std::uint64_t> tail_{0};
};

} // namespace plux
