#pragma once

#include <concepts>
#include <cstdint>

#include "kel/txt/out/ArgBase.hpp"

namespace kel::txt::out
{

// A 64-bit signed integer, in base 2, 10 or 16 with optional digit groups.
class ArgInt final : public ArgNumBase
{
public:
    template <std::integral T>
    explicit ArgInt(T value) noexcept
        : value_(static_cast<std::int64_t>(value))
    {
    }

    int render(DevInterface& dev, const FmtInfo& fmt) const override;

private:
    std::int64_t value_;
};

} // namespace kel::txt::out
