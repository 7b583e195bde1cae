#pragma once

#include <cstddef>
#include <memory>
#include <span>

namespace plux
{

// A binding table of fixed capacity: control identifier → parameter index, each identifier and
// each parameter at most once, ordered by identifier. Its storage is allocated once, at
// construction, so that a prepared table can be filled on the audio thread; every operation
// after construction is noexcept and allocation-free.
class MidiCtrlMap
{
public:
    struct Entry
    {
        int ctrl_id;
        int param;
    };

    explicit MidiCtrlMap(std::size_t capacity);
    MidiCtrlMap(const MidiCtrlMap&) = delete;
    MidiCtrlMap& operator=(const MidiCtrlMap&) = delete;

    // Copies other's entries; false, with nothing changed, when they do not fit.
    bool assign(const MidiCtrlMap& other) noexcept;
    // Erases every entry of param; then the control's entry points to param, or a new entry is
    // added. False, with nothing changed, when there is no room for it.
    bool bind(int param, int ctrl_id) noexcept;
    void unbind(int param) noexcept;
    void clear() noexcept { size_ = 0; }

    // -1 when unbound.
    int find_param(int ctrl_id) const noexcept;
    int find_ctrl(int param) const noexcept;
    bool has(int param, int ctrl_id) const noexcept { return find_param(ctrl_id) == param; }

    std::span<const Entry> use_entries() const noexcept { return {entries_.get(), size_}; }
    std::size_t get_size() const noexcept { return size_; }
    std::size_t get_capacity() const noexcept { return capacity_; }

private:
    // The first entry whose identifier is not below ctrl_id.
    std::size_t lower_bound(int ctrl_id) const noexcept;
    void erase_at(std::size_t pos) noexcept;

    std::unique_ptr<Entry[]> entries_;
    std::size_t capacity_;
    std::size_t size_ = 0;
};

} // namespace plux
