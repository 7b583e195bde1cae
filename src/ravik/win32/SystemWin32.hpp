#pragma once

#include <windows.h>

#include <cstdint>
#include <exception>
#include <string_view>
#include <xmmintrin.h>

namespace ravik::win32
{

// The library that holds the toolkit: its instance owns the toolkit's window classes, so that two
// loaded copies of the plug-in never share one.
HINSTANCE get_module();

// Writes where, then the system's text for code, to the debugger output.
void report_error(std::string_view where, DWORD code);

// Held for the duration of every call that the system makes into the toolkit (window procedures,
// timer callbacks): hosts leave the floating-point units in modes of their own (single precision,
// other rounding, unmasked exceptions), and the toolkit's arithmetic expects double precision,
// rounding to nearest and no traps. The caller's modes are back when the scope ends.
class FloatControlGuard
{
public:
    FloatControlGuard() noexcept
    {
        __asm__ volatile("fnstcw %0" : "=m"(x87_saved_));
        sse_saved_ = _mm_getcsr();
        const std::uint16_t x87 = static_cast<std::uint16_t>(
            (x87_saved_ & ~(x87_precision | x87_rounding)) | x87_double | x87_masks);
        __asm__ volatile("fldcw %0" : : "m"(x87));
        _mm_setcsr((sse_saved_ & ~sse_rounding) | sse_masks);
    }
    ~FloatControlGuard()
    {
        // Flags raised here must not trap at the caller's next instruction under its own masks.
        __asm__ volatile("fnclex\n\tfldcw %0" : : "m"(x87_saved_));
        _mm_setcsr(sse_saved_);
    }
    FloatControlGuard(const FloatControlGuard&) = delete;
    FloatControlGuard& operator=(const FloatControlGuard&) = delete;

private:
    static constexpr std::uint16_t x87_masks = 0x003F;
    static constexpr std::uint16_t x87_precision = 0x0300;
    static constexpr std::uint16_t x87_double = 0x0200;
    static constexpr std::uint16_t x87_rounding = 0x0C00;
    static constexpr unsigned int sse_masks = 0x1F80;
    static constexpr unsigned int sse_rounding = 0x6000;

    std::uint16_t x87_saved_ = 0;
    unsigned int sse_saved_ = 0;
};

// Writes where and what went wrong to the debugger output.
void report_exception(std::string_view where, std::string_view what);

// Runs a call that the system made into the toolkit: with the floating-point modes the toolkit
// expects, and without letting an exception unwind through the system's frames, which cannot
// take it; fallback is then the answer.
template <class Result, class Call>
Result enter_from_system(std::string_view where, Result fallback, Call&& call) noexcept
{
    FloatControlGuard guard;
    try
    {
        return call();
    }
    catch (const std::exception& e)
    {
        report_exception(where, e.what());
    }
    catch (...)
    {
        report_exception(where, "unknown exception");
    }
    return fallback;
}

} // namespace ravik::win32
