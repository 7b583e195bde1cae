#pragma once

#include <xmmintrin.h>

namespace plux
{

// Runs a scope with the SSE unit flushing denormal results to zero and reading denormal inputs
// as zero, and puts the caller's control word back when the scope ends, also by an exception.
// Recursive filters fed with silence decay into denormal numbers, which cost many times the time
// of normal ones on x86 processors; the host's own mode is not ours to keep. Used inside
// RoundingGuard, whose rounding mode the saved control word then already holds.
class DenormalGuard
{
public:
    static constexpr unsigned int flush_to_zero = 0x8000;
    static constexpr unsigned int denormals_are_zero = 0x0040;

    DenormalGuard() noexcept
        : saved_(_mm_getcsr())
    {
        const unsigned int wanted = saved_ | flush_to_zero | denormals_are_zero;
        if (wanted != saved_)
        {
            _mm_setcsr(wanted);
        }
    }
    ~DenormalGuard()
    {
        if (_mm_getcsr() != saved_)
        {
            _mm_setcsr(saved_);
        }
    }
    DenormalGuard(const DenormalGuard&) = delete;
    DenormalGuard& operator=(const DenormalGuard&) = delete;

private:
    unsigned int saved_;
};

} // namespace plux
