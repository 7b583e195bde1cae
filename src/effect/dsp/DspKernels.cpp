#include "effect/dsp/DspKernels.hpp"

namespace
{

bool has_avx2() noexcept
{
    // Checks the operating system's support for the wide registers as well as the processor's.
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

} // namespace

const DspKernels* DspKernels::find_avx2() noexcept
{
    static const bool supported = has_avx2();
    return supported ? &avx2 : nullptr;
}

const DspKernels& DspKernels::get() noexcept
{
    const DspKernels* wide = find_avx2();
    return wide != nullptr ? *wide : sse2;
}
