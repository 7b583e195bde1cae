#pragma once

#include <cfenv>

namespace plux
{

// Runs a scope with the floating-point rounding mode set to round-to-nearest and puts the
// caller's mode back when the scope ends, also by an exception: a host may leave another mode
// set, and the effect's conversions and filters expect this one.
class RoundingGuard
{
public:
    RoundingGuard() noexcept
        : saved_(std::fegetround())
    {
        if (saved_ != FE_TONEAREST)
        {
            std::fesetround(FE_TONEAREST);
        }
    }
    ~RoundingGuard()
    {
        if (saved_ != FE_TONEAREST && saved_ >= 0)
        {
            std::fesetround(saved_);
        }
    }
    RoundingGuard(const RoundingGuard&) = delete;
    RoundingGuard& operator=(const RoundingGuard&) = delete;

private:
    int saved_;
};

} // namespace plux
