#include "kel/txt/out/ArgInt.hpp"

#include <cctype>
#include <charconv>

#include "kel/txt/out/Field.hpp"

namespace kel::txt::out
{

int ArgInt::render(DevInterface& dev, const FmtInfo& fmt) const
{
    const bool negative = value_ < 0;
    // Unsigned negation keeps the most negative value exact.
    const std::uint64_t magnitude = negative ? std::uint64_t{0} - static_cast<std::uint64_t>(value_)
                                             : static_cast<std::uint64_t>(value_);

    char digits[64];
    const auto res = std::to_chars(digits, digits + sizeof(digits), magnitude, fmt.base);
    if (fmt.is_upper())
    {
        for (char* p = digits; p != res.ptr; ++p)
        {
            *p = static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
        }
    }

    char grouped[2 * sizeof(digits)];
    Field field;
    field.set_sign(sign_for(negative, fmt));
    field.add_text(
        group_digits({digits, static_cast<std::size_t>(res.ptr - digits)}, fmt, grouped));
    field.write(dev, fmt, true);
    return 0;
}

} // namespace kel::txt::out
