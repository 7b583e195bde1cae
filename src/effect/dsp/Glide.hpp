#pragma once

// A linear glide of a control value towards its target, advanced at the control rate. Audio
// thread only.
class Glide
{
public:
    // Every parameter of the effect glides to a new value over this time, in seconds.
    static constexpr float param_time = 0.1f;

    Glide() = default;
    Glide(float time, float rate)
        : time_(time)
        , rate_(rate)
    {
    }

    // Time in seconds for a whole glide, whatever the distance; 0 jumps.
    void set_time(float time) noexcept { time_ = time; }
    // Keeps the speed in samples of a glide under way.
    void set_sample_rate(float rate) noexcept;
    void set_target(float target) noexcept;
    // Moves n samples on; lands on the target once it is reached or passed.
    void advance(int n) noexcept;
    void snap() noexcept;

    bool is_moving() const noexcept { return step_ != 0.0; }
    double get_value() const noexcept { return current_; }
    float get_target() const noexcept { return target_; }
    float get_time() const noexcept { return time_; }
    float get_sample_rate() const noexcept { return rate_; }

private:
    float time_ = param_time;
    float rate_ = 44100.0f;
    float start_ = 0.0f;
    float target_ = 0.0f;
    double current_ = 0.0;
    double step_ = 0.0;
};
