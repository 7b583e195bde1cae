#pragma once

#include <atomic>
#include <cassert>
#include <mutex>
#include <type_traits>
#include <utility>

namespace basic
{

// Hands values of T (a new bank) from writers on other threads to one real-time reader, the audio
// thread, through two halves. The reader owns the half at the read index; a writer fills the half
// at the write index, moving to the other half first when the reader has already taken it. The
// reader takes the written half at the start of a block, unless a writer is still filling it.
//
// The two indices and the ready and busy flags share one atomic word: the reader's test of the
// busy flag and its flip of the read index must be one step, or a writer could start filling the
// half that the reader is about to take.
template <typename T>
class LockFreeBuffer
{
    static_assert(std::is_nothrow_move_assignable_v<T>, "a half is replaced by a move");

public:
    // Both halves start as init; nothing is waiting for the reader.
    explicit LockFreeBuffer(const T& init)
        : halves_{init, init}
    {
    }
    LockFreeBuffer(const LockFreeBuffer&) = delete;
    LockFreeBuffer& operator=(const LockFreeBuffer&) = delete;

    // Any thread but the reader's; allocates. Writers are serialised among themselves, the reader
    // never waits for them. The value is copied before any state changes, so a throwing copy
    // leaves the buffer as it was. Two writes before the reader's next check land in the same
    // half, and the reader gets the second.
    void write(const T& value)
    {
        T copy(value);
        const std::lock_guard lock(writer_mutex_);
        unsigned state = state_.load(std::memory_order_relaxed);
        unsigned next = 0;
        do
        {
            next = state | busy_bit;
            // The reader sets ready in the same step as it takes a half, so ready always holds
            // when the indices are equal: the half to fill is never the reader's.
            if (get_read_index(state) == get_write_index(state) && (state & ready_bit) != 0)
            {
                next = (next ^ write_bit) & ~ready_bit;
            }
        } while (!state_.compare_exchange_weak(state, next, std::memory_order_acq_rel,
                                               std::memory_order_relaxed));
        assert(get_write_index(next) != get_read_index(next));
        halves_[get_write_index(next)] = std::move(copy);
        state_.fetch_and(~busy_bit, std::memory_order_release);
    }

    // Audio thread, at the start of each block; never allocates, locks or waits. When a written
    // half is complete, makes it the reader's, calls on_new with it and answers true (the caller
    // then asks the host to update its display). Answers false when nothing new is there, or when
    // a writer is still busy: the next block takes it.
    template <typename F>
    bool read_check(F&& on_new)
    {
        unsigned state = state_.load(std::memory_order_acquire);
        if (get_read_index(state) == get_write_index(state) || (state & busy_bit) != 0)
        {
            return false;
        }
        const unsigned next = (state ^ read_bit) | ready_bit;
        // A failure means that a writer has just begun; its value is taken at the next block.
        if (!state_.compare_exchange_strong(state, next, std::memory_order_acq_rel,
                                            std::memory_order_relaxed))
        {
            return false;
        }
        std::forward<F>(on_new)(std::as_const(halves_[get_read_index(next)]));
        return true;
    }

    // Audio thread: the value handed over last.
    const T& use_read() const { return halves_[get_read_index()]; }

    // The reader's index is stable on the reader's thread; elsewhere these are snapshots.
    int get_read_index() const { return get_read_index(state_.load(std::memory_order_acquire)); }
    int get_write_index() const { return get_write_index(state_.load(std::memory_order_acquire)); }
    // index is 0 or 1. Reading a half that a writer may be filling is the caller's risk.
    const T& use_half(int index) const { return halves_[index]; }

private:
    static constexpr unsigned write_bit = 1;
    static constexpr unsigned read_bit = 2;
    static constexpr unsigned ready_bit = 4;
    static constexpr unsigned busy_bit = 8;

    static int get_write_index(unsigned state) { return (state & write_bit) != 0 ? 1 : 0; }
    static int get_read_index(unsigned state) { return (state & read_bit) != 0 ? 1 : 0; }

    static_assert(std::atomic<unsigned>::is_always_lock_free);

    T halves_[2];
    // Write index 0, read index 1, not ready, not busy.
    std::atomic<unsigned> state_{read_bit};
    std::mutex writer_mutex_;
};

} // namespace basic
