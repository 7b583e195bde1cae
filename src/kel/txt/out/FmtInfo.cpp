#include "kel/txt/out/FmtInfo.hpp"

#include <algorithm>
#include <cctype>

#include "kel/txt/out/Errors.hpp"

namespace kel::txt::out
{

bool IntParamList::take_next(int& value) noexcept
{
    if (next_ >= values_.size())
    {
        return false;
    }
    value = values_[next_++];
    return true;
}

bool IntParamList::take_at(int position, int& value) const noexcept
{
    if (position < 1 || static_cast<std::size_t>(position) > values_.size())
    {
        return false;
    }
    value = values_[static_cast<std::size_t>(position) - 1];
    return true;
}

namespace
{

bool is_digit(char c) noexcept
{
    return c >= '0' && c <= '9';
}

bool starts_number(std::string_view spec, std::size_t pos) noexcept
{
    return pos < spec.size() && (is_digit(spec[pos]) || spec[pos] == '!' || spec[pos] == '$');
}

// Reads a number at pos: decimal digits, '!' (the next integer parameter), or '$' followed by any
// of these forms (the integer parameter at that position). A chain of '$' is resolved from the
// innermost form outwards, without recursion, so no specification can exhaust the stack.
int read_number(std::string_view spec, std::size_t& pos, IntParamList& params, int& value) noexcept
{
    std::size_t indirections = 0;
    while (pos < spec.size() && spec[pos] == '$')
    {
        ++indirections;
        ++pos;
    }
    if (pos >= spec.size())
    {
        return err_format;
    }
    if (spec[pos] == '!')
    {
        ++pos;
        if (!params.take_next(value))
        {
            return err_format;
        }
    }
    else if (is_digit(spec[pos]))
    {
        int v = 0;
        for (; pos < spec.size() && is_digit(spec[pos]); ++pos)
        {
            if (v > 214748363)
            {
                return err_format;
            }
            v = v * 10 + (spec[pos] - '0');
        }
        value = v;
    }
    else
    {
        return err_format;
    }
    for (; indirections > 0; --indirections)
    {
        if (!params.take_at(value, value))
        {
            return err_format;
        }
    }
    return 0;
}

int read_count(std::string_view spec, std::size_t& pos, IntParamList& params, int& field) noexcept
{
    int value = 0;
    if (read_number(spec, pos, params, value) != 0)
    {
        return err_format;
    }
    field = std::max(value, 0);
    return 0;
}

int read_optional_count(std::string_view spec, std::size_t& pos, IntParamList& params,
                        int& field) noexcept
{
    if (!starts_number(spec, pos))
    {
        field = 0;
        return 0;
    }
    return read_count(spec, pos, params, field);
}

int case_of(char c) noexcept
{
    return std::isupper(static_cast<unsigned char>(c)) ? 1 : 2;
}

} // namespace

int parse_spec(std::string_view spec, IntParamList& params, FmtInfo& fmt) noexcept
{
    fmt = FmtInfo{};
    std::size_t pos = 0;
    while (pos < spec.size())
    {
        const char c = spec[pos++];
        int ret = 0;
        switch (c)
        {
        case '+':
            fmt.sign_mode = 2;
            break;
        case '-':
            fmt.sign_mode = 1;
            break;
        case 'b':
        case 'B':
            fmt.base = 2;
            fmt.letter_case = case_of(c);
            break;
        case 'd':
        case 'D':
            fmt.base = 10;
            fmt.letter_case = case_of(c);
            break;
        case 'x':
        case 'X':
            fmt.base = 16;
            fmt.letter_case = case_of(c);
            break;
        case 'c':
        case 'C':
            fmt.align = 2;
            break;
        case 'k':
        case 'K':
            fmt.align = 3;
            break;
        case 'l':
        case 'L':
            fmt.align = 0;
            break;
        case 'r':
        case 'R':
            fmt.align = 1;
            break;
        case 'm':
        case 'M':
            ret = read_count(spec, pos, params, fmt.width);
            break;
        case 'p':
        case 'P':
            ret = read_count(spec, pos, params, fmt.precision);
            break;
        case 's':
        case 'S':
            ret = read_count(spec, pos, params, fmt.s_count);
            break;
        case 'e':
        case 'E':
            fmt.float_mode = 2;
            ret = read_optional_count(spec, pos, params, fmt.exp_digits);
            break;
        case 'g':
        case 'G':
            fmt.float_mode = 0;
            ret = read_optional_count(spec, pos, params, fmt.exp_digits);
            break;
        case 'f':
        case 'F':
            fmt.float_mode = 1;
            break;
        case 'w':
        case 'W':
            if (pos >= spec.size())
            {
                return err_format;
            }
            fmt.fill = spec[pos++];
            break;
        case 'o':
        case 'O':
            fmt.o_flag = false;
            break;
        case 'v':
        case 'V':
            fmt.o_flag = true;
            break;
        case 't':
        case 'T':
            fmt.t_flag = true;
            break;
        default:
            break;
        }
        if (ret != 0)
        {
            return err_format;
        }
    }
    return 0;
}

} // namespace kel::txt::out
