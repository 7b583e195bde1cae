#pragma once

#include <atomic>
#include <bit>
#include <cstdint>
#include <memory>

namespace plux
{

// Parameter changes and marks on their way to the editor from other threads (the audio thread
// for MIDI controllers and for hosts that automate there). Each parameter has one slot holding
// the latest value with its origin, and the latest mark, each with a dirty flag: posting neither
// allocates, locks nor waits, and the editor's thread takes whatever is new on its timer. Earlier
// values posted before a drain are overwritten: the editor only ever shows the latest.
class ParamMailbox
{
public:
    // Not while anyone posts.
    void resize(int nbr_param)
    {
        size_ = nbr_param > 0 ? nbr_param : 0;
        slots_ = std::make_unique<Slot[]>(static_cast<std::size_t>(size_));
    }
    int size() const noexcept { return size_; }

    // Any thread.
    void post_value(int index, float value, int origin) noexcept
    {
        if (index < 0 || index >= size_)
        {
            return;
        }
        Slot& slot = slots_[static_cast<std::size_t>(index)];
        slot.value.store(pack(value, origin), std::memory_order_relaxed);
        slot.value_dirty.store(true, std::memory_order_release);
    }
    void post_mark(int index, int mark) noexcept
    {
        if (index < 0 || index >= size_)
        {
            return;
        }
        Slot& slot = slots_[static_cast<std::size_t>(index)];
        slot.mark.store(mark, std::memory_order_relaxed);
        slot.mark_dirty.store(true, std::memory_order_release);
    }

    // The editor's thread: on_value(index, value, origin) and on_mark(index, mark) for what
    // arrived since the last drain.
    template <class OnValue, class OnMark>
    void drain(OnValue&& on_value, OnMark&& on_mark)
    {
        for (int i = 0; i < size_; ++i)
        {
            Slot& slot = slots_[static_cast<std::size_t>(i)];
            if (slot.value_dirty.exchange(false, std::memory_order_acquire))
            {
                const std::uint64_t v = slot.value.load(std::memory_order_relaxed);
                on_value(i, std::bit_cast<float>(static_cast<std::uint32_t>(v)),
                         static_cast<int>(static_cast<std::int32_t>(v >> 32)));
            }
            if (slot.mark_dirty.exchange(false, std::memory_order_acquire))
            {
                on_mark(i, slot.mark.load(std::memory_order_relaxed));
            }
        }
    }

private:
    // Value and origin travel as one word, so they always belong together.
    static std::uint64_t pack(float value, int origin) noexcept
    {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(origin)) << 32) |
               std::bit_cast<std::uint32_t>(value);
    }

    struct Slot
    {
        std::atomic<std::uint64_t> value{0};
        std::atomic<bool> value_dirty{false};
        std::atomic<int> mark{0};
        std::atomic<bool> mark_dirty{false};
    };

    std::unique_ptr<Slot[]> slots_;
    int size_ = 0;
};

} // namespace plux
