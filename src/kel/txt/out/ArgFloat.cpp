#include "kel/txt/out/ArgFloat.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "kel/txt/out/Errors.hpp"
#include "kel/txt/out/Field.hpp"

namespace kel::txt::out
{

namespace
{

// Every digit of a double beyond this many after the point (or significant digits) is zero:
// the smallest subnormal has 1074 decimals. Larger precisions add counted zeros.
constexpr int max_exact_digits = 1100;

// Drops trailing zeros of a fraction, and the point when nothing is left after it.
std::string_view trim_fraction(std::string_view text) noexcept
{
    if (text.find('.') == std::string_view::npos)
    {
        return text;
    }
    while (!text.empty() && text.back() == '0')
    {
        text.remove_suffix(1);
    }
    if (!text.empty() && text.back() == '.')
    {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace

int ArgFloat::render(DevInterface& dev, const FmtInfo& fmt) const
{
    Field field;
    field.set_sign(sign_for(std::signbit(value_) && !std::isnan(value_), fmt));
    const bool upper = fmt.is_upper();

    if (!std::isfinite(value_))
    {
        field.add_text(std::isnan(value_) ? (upper ? "NAN" : "nan") : (upper ? "INF" : "inf"));
        field.write(dev, fmt, true);
        return 0;
    }

    const std::chars_format format = fmt.float_mode == 1   ? std::chars_format::fixed
                                     : fmt.float_mode == 2 ? std::chars_format::scientific
                                                           : std::chars_format::general;
    const int precision = std::min(fmt.precision, max_exact_digits);
    const std::size_t extra_zeros = (fmt.float_mode != 0 && !fmt.t_flag)
                                        ? static_cast<std::size_t>(fmt.precision - precision)
                                        : 0;

    char text[2048];
    const auto res = std::to_chars(text, text + sizeof(text), std::fabs(value_), format, precision);
    if (res.ec != std::errc{})
    {
        return err_format;
    }
    std::string_view number(text, static_cast<std::size_t>(res.ptr - text));

    std::string_view mantissa = number;
    std::string_view exponent;
    if (const auto e = number.find('e'); e != std::string_view::npos)
    {
        mantissa = number.substr(0, e);
        exponent = number.substr(e + 1); // sign and at least two digits
    }
    if (fmt.t_flag)
    {
        mantissa = trim_fraction(mantissa);
    }

    // Digit groups apply to the integer part of the mantissa.
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    char grouped[2 * sizeof(text)];
    field.add_text(group_digits(mantissa.substr(0, point), fmt, grouped));
    field.add_text(mantissa.substr(point));
    field.add_fill('0', extra_zeros);

    if (!exponent.empty())
    {
        std::string_view digits = exponent.substr(1);
        while (digits.size() > 1 && digits.front() == '0')
        {
            digits.remove_prefix(1);
        }
        const std::size_t min_digits =
            fmt.exp_digits > 0 ? static_cast<std::size_t>(fmt.exp_digits) : 2;
        static constexpr char lower_e[2][2] = {{'e', '+'}, {'e', '-'}};
        static constexpr char upper_e[2][2] = {{'E', '+'}, {'E', '-'}};
        const int neg_exp = exponent.front() == '-' ? 1 : 0;
        field.add_text({upper ? upper_e[neg_exp] : lower_e[neg_exp], 2});
        field.add_fill('0', min_digits > digits.size() ? min_digits - digits.size() : 0);
        field.add_text(digits);
    }
    field.write(dev, fmt, true);
    return 0;
}

} // namespace kel::txt::out
