#include "effect/dsp/Glide.hpp"

void Glide::set_sample_rate(float rate) noexcept
{
    if (rate > 0.0f)
    {
        step_ *= static_cast<double>(rate_) / static_cast<double>(rate);
        rate_ = rate;
    }
}

void Glide::set_target(float target) noexcept
{
    if (time_ == 0.0f)
    {
        target_ = target;
        snap();
        return;
    }
    start_ = static_cast<float>(current_);
    target_ = target;
    step_ = (static_cast<double>(target_) - static_cast<double>(start_)) /
            (static_cast<double>(time_) * static_cast<double>(rate_));
}

void Glide::advance(int n) noexcept
{
    if (step_ == 0.0)
    {
        return;
    }
    current_ += n * step_;
    if ((current_ - target_) * step_ >= 0.0)
    {
        snap();
    }
}

void Glide::snap() noexcept
{
    start_ = target_;
    current_ = target_;
    step_ = 0.0;
}
