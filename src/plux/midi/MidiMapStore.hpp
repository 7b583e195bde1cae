#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>
#include <utility>

#include "plux/midi/EpochGuard.hpp"
#include "plux/midi/MidiCtrlMap.hpp"

namespace plux
{

// The binding table as threads share it. The published table never changes: readers (the audio
// thread among them) take it under an epoch guard, and a change publishes a new table with one
// atomic step, so nobody sees a half-made change. Writers on other threads copy, change and
// publish, then free the old table once no reader can hold it.
//
// Auto-bind changes the table from the audio thread, which must neither allocate nor wait: it
// fills a spare table prepared beforehand and leaves the table it replaced in a retired slot.
// recycle(), on any other thread, frees the retired tables and prepares new spares; writers run
// it too. Between two runs the audio thread can make nbr_spares changes; a further one fails and
// is tried again with the next message.
class MidiMapStore
{
public:
    static constexpr int nbr_spares = 4;

    MidiMapStore();
    ~MidiMapStore();
    MidiMapStore(const MidiMapStore&) = delete;
    MidiMapStore& operator=(const MidiMapStore&) = delete;

    // Any thread; f(const MidiCtrlMap&) must not keep the table beyond the call.
    template <typename F>
    auto read(F&& f) const
    {
        const EpochGuard::Reader reader(guard_);
        return std::forward<F>(f)(std::as_const(*map_.load()));
    }

    // Any thread but the audio thread; allocates and may wait for readers. f(MidiCtrlMap&)
    // changes a copy of the current table that has room for max_added more entries; the copy
    // is then published.
    template <typename F>
    void modify(std::size_t max_added, F&& f)
    {
        const std::lock_guard lock(writer_mutex_);
        recycle_locked();
        for (;;)
        {
            MidiCtrlMap* current = map_.load();
            auto next = make_map(current->get_size() + max_added);
            next->assign(*current);
            f(*next);
            // Fails only when the audio thread published meanwhile: start again from its table.
            if (map_.compare_exchange_strong(current, next.get()))
            {
                next.release();
                guard_.synchronize();
                delete current;
                break;
            }
        }
        refill_spares_locked();
    }

    // The audio thread, or whichever single thread decodes MIDI input: binds param to ctrl_id
    // without allocating or waiting. True when the binding is in place.
    bool bind_rt(int param, int ctrl_id) noexcept;

    // Any thread but the audio thread.
    void recycle();

private:
    static std::unique_ptr<MidiCtrlMap> make_map(std::size_t min_size);
    // A spare must hold the current table and one entry more.
    std::size_t spare_capacity() const;
    void recycle_locked();
    void refill_spares_locked();

    std::atomic<MidiCtrlMap*> map_;
    mutable EpochGuard guard_;
    // Filled by recycle(), emptied by the audio thread.
    std::array<std::atomic<MidiCtrlMap*>, nbr_spares> spares_{};
    // Filled by the audio thread, emptied by recycle(). Twice as many as spares: a run of
    // recycle() that refills the spares while the audio thread retires tables never leaves the
    // audio thread without a free slot.
    std::array<std::atomic<MidiCtrlMap*>, 2 * nbr_spares> retired_{};
    std::mutex writer_mutex_;
};

} // namespace plux
