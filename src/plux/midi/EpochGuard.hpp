#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

namespace plux
{

// Lets real-time readers use objects that other threads replace and delete. A reader opens a
// Reader before it loads a published pointer and keeps the object only while the Reader lives;
// entering and leaving are a few atomic operations, never a wait, never an allocation. A thread
// that has unpublished an object calls synchronize() before deleting it: it returns once every
// reader that could still hold the old pointer has left.
//
// Two counters, chosen by the parity of an epoch: synchronize() moves the epoch on and waits for
// the counter of the previous parity to drain, while new readers count on the other one, so a
// steady stream of readers cannot keep a writer waiting.
class EpochGuard
{
public:
    class Reader
    {
    public:
        explicit Reader(EpochGuard& guard) noexcept
            : guard_(guard)
            , slot_(guard.enter())
        {
        }
        ~Reader() { guard_.leave(slot_); }
        Reader(const Reader&) = delete;
        Reader& operator=(const Reader&) = delete;

    private:
        EpochGuard& guard_;
        int slot_;
    };

    EpochGuard() = default;
    EpochGuard(const EpochGuard&) = delete;
    EpochGuard& operator=(const EpochGuard&) = delete;

    // Any thread that holds no Reader of this guard (it would wait for itself). Never the audio
    // thread: it waits for the readers, yielding and then sleeping.
    void synchronize();

private:
    int enter() noexcept;
    void leave(int slot) noexcept;

    std::atomic<std::uint64_t> epoch_{0};
    std::array<std::atomic<int>, 2> readers_{};
    // Serialises the writers, so that each epoch step waits for its own predecessor's readers.
    std::mutex sync_mutex_;
};

} // namespace plux
