#pragma once

#include <cstddef>
#include <string_view>

#include "kel/txt/out/DevInterface.hpp"
#include "kel/txt/out/FmtInfo.hpp"

namespace kel::txt::out
{

// One argument of a format string. It renders itself under the specification of the placeholder
// that names it; several placeholders may name the same argument.
class ArgBase
{
public:
    virtual ~ArgBase() = default;

    // Returns 0, or a negative code when the argument cannot be shown under fmt.
    virtual int render(DevInterface& dev, const FmtInfo& fmt) const = 0;
};

class ArgNumBase : public ArgBase
{
protected:
    // The sign shown before a number: '-', or for other numbers '+', ' ' or none by sign_mode.
    static char sign_for(bool negative, const FmtInfo& fmt) noexcept;

    // Copies digits to out, with a separator between groups of fmt.s_count digits counted from
    // the right: ',' in base 10, '_' in bases 2 and 16. Returns the text written; out must hold
    // at least twice as many characters as digits.
    static std::string_view group_digits(std::string_view digits, const FmtInfo& fmt,
                                         char* out) noexcept;
};

} // namespace kel::txt::out
