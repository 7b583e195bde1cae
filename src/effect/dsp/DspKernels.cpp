#include "effect/dsp/DspKernels.hpp"

namespace
{

// Both check the operating system's support for the wide registers as well as the processor's.
bool has_avx2() noexcept
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

bool has_avx512vl() noexcept
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("avx512f") &&
           __builtin_cpu_supports("avx512vl");
}

} // namespace

const DspKernels* DspKernels::find_avx2() noexcept
{
    static const bool supported = has_avx2();
    return supported ? &avx2 : nullptr;
}

const DspKernels* DspKernels::find_avx512() noexcept
{
    static const bool supported = has_avx512vl();
    return supported ? &avx512 : nullptr;
}

const DspKernels& DspKernels::get() noexcept
{
    if (const DspKernels* widest = find_avx512())
    {
        return *widest;
    }
    const DspKernels* wide = find_avx2();
    return wide != nullptr ? *wide : sse2;
}
