#pragma once

#include "kel/txt/out/ArgBase.hpp"

namespace kel::txt::out
{

// A floating-point number, laid out like printf's %g, %f or %e (float_mode 0, 1, 2) with
// `precision`, exactly rounded from the binary value. Upper case gives 'E', "INF" and "NAN".
class ArgFloat final : public ArgNumBase
{
public:
    explicit ArgFloat(double value) noexcept
        : value_(value)
    {
    }

    int render(DevInterface& dev, const FmtInfo& fmt) const override;

private:
    double value_;
};

} // namespace kel::txt::out
