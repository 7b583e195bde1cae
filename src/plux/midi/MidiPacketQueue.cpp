#include "plux/midi/MidiPacketQueue.hpp"

#include <stdexcept>

namespace plux
{

namespace
{

std::uint64_t check_capacity(int capacity)
{
    if (capacity <= 0)
    {
        throw std::invalid_argument(
            "plux::MidiPacketQueue::MidiPacketQueue() : Capacity must be positive.");
    }
    return static_cast<std::uint64_t>(capacity);
}

} // namespace

MidiPacketQueue::MidiPacketQueue(int capacity)
    : capacity_(check_capacity(capacity))
    , slots_(std::make_unique<std::atomic<std::uint64_t>[]>(capacity_))
{
}

bool MidiPacketQueue::push(std::span<const std::uint32_t> packets) noexcept
{
    const std::uint64_t n = packets.size();
    if (n == 0)
    {
        return true;
    }
    std::uint64_t pos = head_.load(std::memory_order_relaxed);
    do
    {
        // Slots below tail have been read; a stale tail only makes the test stricter.
        if (pos + n - tail_.load(std::memory_order_acquire) > capacity_)
        {
            return false;
        }
    } while (!head_.compare_exchange_weak(pos, pos + n, std::memory_order_relaxed,
                                          std::memory_order_relaxed));
    for (std::uint64_t i = 0; i < n; ++i)
    {
        const std::uint64_t at = pos + i;
        slots_[at % capacity_].store((std::uint64_t{stamp_for(at)} << 32) | packets[i],
                                     std::memory_order_release);
    }
    return true;
}

} // namespace plux
