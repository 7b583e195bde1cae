#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <stdexcept>
#include <type_traits>

namespace basic
{

// A queue of T between exactly one writer thread and one reader thread (the system's MIDI
// callback and the audio thread), neither of which ever waits. Of its slots one always stays
// free, which tells a full ring from an empty one: a ring of N slots holds at most N - 1 values,
// and a write into a full ring is refused so that the oldest values survive.
//
// Each side owns its own index and publishes it (release) only after it has written or read the
// slot; the other side loads it with acquire, so a slot is never touched by both at once.
template <typename T>
class LockFreeRingFifo
{
    static_assert(std::is_trivially_copyable_v<T>, "values are copied in and out of the slots");

public:
    // Allocates; nbr_slots is at least 2.
    explicit LockFreeRingFifo(int nbr_slots)
        : nbr_slots_(check_size(nbr_slots))
        , slots_(std::make_unique<T[]>(nbr_slots_))
    {
    }
    LockFreeRingFifo(const LockFreeRingFifo&) = delete;
    LockFreeRingFifo& operator=(const LockFreeRingFifo&) = delete;

    // Writer thread. False, with nothing stored, when the ring is full.
    bool write(const T& value) noexcept
    {
        const std::size_t w = write_pos_.load(std::memory_order_relaxed);
        const std::size_t next = advance(w);
        if (next == read_pos_.load(std::memory_order_acquire))
        {
            return false;
        }
        slots_[w] = value;
        write_pos_.store(next, std::memory_order_release);
        return true;
    }

    // Reader thread. False, with value untouched, when the ring is empty.
    bool read(T& value) noexcept
    {
        const std::size_t r = read_pos_.load(std::memory_order_relaxed);
        if (r == write_pos_.load(std::memory_order_acquire))
        {
            return false;
        }
        value = slots_[r];
        read_pos_.store(advance(r), std::memory_order_release);
        return true;
    }

    // Reader thread: drops everything written so far.
    void discard() noexcept
    {
        read_pos_.store(write_pos_.load(std::memory_order_acquire), std::memory_order_release);
    }

    // The most values the ring holds at once.
    int get_capacity() const noexcept { return static_cast<int>(nbr_slots_ - 1); }
    // A snapshot; exact only on the reader's or the writer's thread for its own side.
    bool is_empty() const noexcept
    {
        return read_pos_.load(std::memory_order_acquire) ==
               write_pos_.load(std::memory_order_acquire);
    }

private:
    static std::size_t check_size(int nbr_slots)
    {
        if (nbr_slots < 2)
        {
            throw std::invalid_argument(
                "basic::LockFreeRingFifo::LockFreeRingFifo() : Needs two slots at least.");
        }
        return static_cast<std::size_t>(nbr_slots);
    }

    std::size_t advance(std::size_t pos) const noexcept
    {
        return pos + 1 == nbr_slots_ ? 0 : pos + 1;
    }

    const std::size_t nbr_slots_;
    std::unique_ptr<T[]> slots_;
    // Separate cache lines keep the two threads from stalling each other on every write.
    alignas(64) std::atomic<std::size_t> write_pos_{0};
    alignas(64) std::atomic<std::size_t> read_pos_{0};
};

} // namespace basic
