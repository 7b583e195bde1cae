#include "plux/midi/MidiMapStore.hpp"

#include <algorithm>

namespace plux
{

namespace
{

constexpr std::size_t min_capacity = 32;
// Attempts of the audio thread when writers keep publishing under it.
constexpr int max_rt_attempts = 4;

} // namespace

MidiMapStore::MidiMapStore()
    : map_(make_map(0).release())
{
    const std::lock_guard lock(writer_mutex_);
    refill_spares_locked();
}

MidiMapStore::~MidiMapStore()
{
    delete map_.load();
    for (auto& slot : spares_)
    {
        delete slot.load();
    }
    for (auto& slot : retired_)
    {
        delete slot.load();
    }
}

std::unique_ptr<MidiCtrlMap> MidiMapStore::make_map(std::size_t min_size)
{
    return std::make_unique<MidiCtrlMap>(std::max(min_capacity, 2 * min_size));
}

std::size_t MidiMapStore::spare_capacity() const
{
    return map_.load()->get_size() + 1;
}

bool MidiMapStore::bind_rt(int param, int ctrl_id) noexcept
{
    const EpochGuard::Reader reader(guard_);
    for (int attempt = 0; attempt < max_rt_attempts; ++attempt)
    {
        MidiCtrlMap* current = map_.load();
        if (current->has(param, ctrl_id))
        {
            return true;
        }
        // Only this thread fills retired slots, so one seen free stays free.
        std::atomic<MidiCtrlMap*>* retire_slot = nullptr;
        for (auto& slot : retired_)
        {
            if (slot.load() == nullptr)
            {
                retire_slot = &slot;
                break;
            }
        }
        if (retire_slot == nullptr)
        {
            return false;
        }
        MidiCtrlMap* spare = nullptr;
        for (auto& slot : spares_)
        {
            spare = slot.exchange(nullptr);
            if (spare != nullptr)
            {
                break;
            }
        }
        if (spare == nullptr)
        {
            return false;
        }
        if (spare->assign(*current) && spare->bind(param, ctrl_id) &&
            map_.compare_exchange_strong(current, spare))
        {
            retire_slot->store(current);
            return true;
        }
        // Too small for a table that grew since it was made, or a writer published first: the
        // spare was never seen by anyone and goes back through recycle().
        retire_slot->store(spare);
    }
    return false;
}

void MidiMapStore::recycle()
{
    const std::lock_guard lock(writer_mutex_);
    recycle_locked();
    refill_spares_locked();
}

void MidiMapStore::recycle_locked()
{
    std::array<MidiCtrlMap*, 2 * nbr_spares> taken{};
    std::size_t nbr_taken = 0;
    for (auto& slot : retired_)
    {
        if (MidiCtrlMap* map = slot.exchange(nullptr); map != nullptr)
        {
            taken[nbr_taken++] = map;
        }
    }
    if (nbr_taken == 0)
    {
        return;
    }
    // Readers that loaded a retired table before it was replaced may still be inside.
    guard_.synchronize();
    const std::size_t need = spare_capacity();
    for (std::size_t i = 0; i < nbr_taken; ++i)
    {
        MidiCtrlMap* map = taken[i];
        for (auto& slot : spares_)
        {
            MidiCtrlMap* expected = nullptr;
            if (map != nullptr && map->get_capacity() >= need &&
                slot.compare_exchange_strong(expected, map))
            {
                map = nullptr;
            }
        }
        delete map;
    }
}

void MidiMapStore::refill_spares_locked()
{
    const std::size_t need = spare_capacity();
    for (auto& slot : spares_)
    {
        // The audio thread only takes spares, so a slot emptied here stays empty until refilled.
        MidiCtrlMap* map = slot.exchange(nullptr);
        if (map != nullptr && map->get_capacity() < need)
        {
            delete map;
            map = nullptr;
        }
        slot.store(map != nullptr ? map : make_map(need).release());
    }
}

} // namespace plux
