#include "plux/midi/EpochGuard.hpp"

#include <chrono>
#include <thread>

namespace plux
{

int EpochGuard::enter() noexcept
{
    // The second look at the epoch makes sure that the count went up before any writer that
    // could miss it looked at that counter; otherwise the reader counts again on the new one.
    for (;;)
    {
        const std::uint64_t epoch = epoch_.load();
        const int slot = static_cast<int>(epoch & 1);
        readers_[static_cast<std::size_t>(slot)].fetch_add(1);
        if (epoch_.load() == epoch)
        {
            return slot;
        }
        readers_[static_cast<std::size_t>(slot)].fetch_sub(1);
    }
}

void EpochGuard::leave(int slot) noexcept
{
    readers_[static_cast<std::size_t>(slot)].fetch_sub(1);
}

void EpochGuard::synchronize()
{
    const std::lock_guard lock(sync_mutex_);
    const std::uint64_t epoch = epoch_.fetch_add(1);
    const std::atomic<int>& previous = readers_[static_cast<std::size_t>(epoch & 1)];
    // Readers stay inside for microseconds; spin briefly, then stop burning the core.
    for (int spin = 0; previous.load() != 0; ++spin)
    {
        if (spin < 64)
        {
            std::this_thread::yield();
        }
        else
        {
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    }
}

} // namespace plux
