#pragma once

// A gain that crossfades linearly to its target, one step per sample. It never passes its
// target, however late the control step that would land it comes, so a fade cannot overshoot.
// Audio thread only.
template <typename T>
class LinearRamp
{
public:
    LinearRamp() = default;
    explicit LinearRamp(T value)
        : current_(value)
        , target_(value)
    {
    }

    // Jumps to value.
    void set(T value) noexcept
    {
        current_ = value;
        target_ = value;
        step_ = T(0);
    }
    // Starts a move to target, covering fraction of the distance per sample.
    void move_to(T target, T fraction) noexcept
    {
        target_ = target;
        step_ = (target_ - current_) * fraction;
    }
    void snap() noexcept { set(target_); }
    // Lands on the target once the current value has passed it.
    void land_if_passed() noexcept
    {
        if ((target_ - current_) * step_ < T(0))
        {
            snap();
        }
    }

    bool is_moving() const noexcept { return current_ != target_ && step_ != T(0); }
    T get_current() const noexcept { return current_; }
    T get_target() const noexcept { return target_; }
    T get_step() const noexcept { return step_; }

    // The value for each of the next n samples (the current one first), moving on by n samples.
    void fill(float* gains, int n) noexcept
    {
        if (!is_moving())
        {
            const float g = static_cast<float>(current_);
            for (int t = 0; t < n; ++t)
            {
                gains[t] = g;
            }
            return;
        }
        const T start = current_;
        const T step = step_;
        const T target = target_;
        if (step > T(0))
        {
            for (int t = 0; t < n; ++t)
            {
                const T v = start + t * step;
                gains[t] = static_cast<float>(v < target ? v : target);
            }
        }
        else
        {
            for (int t = 0; t < n; ++t)
            {
                const T v = start + t * step;
                gains[t] = static_cast<float>(v > target ? v : target);
            }
        }
        current_ = start + n * step;
        if ((target - current_) * step <= T(0))
        {
            snap();
        }
    }

private:
    T current_ = T(0);
    T target_ = T(0);
    T step_ = T(0);
};
