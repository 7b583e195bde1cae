#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace plux
{

// Begin-edit and end-edit bookkeeping, one state per parameter: armed (the next reported change
// opens a gesture), opening (begin-edit is being sent), open (waiting for end-edit), closing.
// Any thread may open a gesture, the audio thread included, so the states are atomics changed by
// compare-and-swap: exactly one thread sends each begin-edit and each end-edit, and an end-edit
// can only follow its own begin-edit.
class GestureState
{
public:
    // All parameters armed.
    void resize(int nbr_param);
    int size() const noexcept { return size_; }

    // Claims the right to send begin-edit; false when a gesture is already open or opening.
    bool begin_opening(int index) noexcept;
    // After begin-edit (and the change that opened the gesture) went to the host.
    void finish_opening(int index) noexcept;
    // Claims the right to send end-edit for an open gesture.
    bool begin_closing(int index) noexcept;
    // After end-edit went to the host: armed again.
    void finish_closing(int index) noexcept;

    bool is_armed(int index) const noexcept;
    // The open gestures, oldest first. Not for the audio thread (it allocates).
    std::vector<int> list_open() const;

private:
    enum : std::uint8_t
    {
        armed,
        opening,
        open,
        closing,
    };

    bool move(int index, std::uint8_t from, std::uint8_t to) noexcept;

    int size_ = 0;
    std::unique_ptr<std::atomic<std::uint8_t>[]> state_;
    std::unique_ptr<std::atomic<std::uint64_t>[]> order_;
    std::atomic<std::uint64_t> next_order_{0};
};

} // namespace plux
