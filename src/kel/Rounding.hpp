#pragma once

#include <climits>

// Integer rounding as the effect uses it everywhere: halves go up (floor(x + 0.5)). Both are
// total: NaN gives 0 and values beyond the int range saturate, so a broken parameter value can
// never cause undefined behaviour. Independent of the floating-point rounding mode, and free of
// library calls, since the control step uses them per band.

// floor(x).
inline int floor_int(double x) noexcept
{
    if (!(x > static_cast<double>(INT_MIN)))
    {
        return x == x ? INT_MIN : 0;
    }
    if (x >= static_cast<double>(INT_MAX))
    {
        return INT_MAX;
    }
    // Branch-free: the fraction is data, and a mispredicted branch costs more than the sum.
    const int i = static_cast<int>(x);
    return i - static_cast<int>(static_cast<double>(i) > x);
}

// floor(x + 0.5), computed without forming x + 0.5 (which rounds for x just below a half).
inline int round_int(double x) noexcept
{
    const int f = floor_int(x);
    if (f == INT_MAX || f == INT_MIN || !(x == x))
    {
        return f;
    }
    return f + static_cast<int>(x - static_cast<double>(f) >= 0.5);
}
