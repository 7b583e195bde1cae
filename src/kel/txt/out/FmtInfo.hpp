#pragma once

#include <climits>
#include <cstddef>
#include <span>
#include <string_view>

namespace kel::txt::out
{

// The parsed specification of one placeholder, such as "rm8w0X" in "%1rm8w0X%".
struct FmtInfo
{
    static constexpr int width_not_set = INT_MAX;

    int width = width_not_set;
    int base = 10;
    int precision = 6;
    int s_count = 0;     // digit group size; 0 prints digits ungrouped
    int exp_digits = 0;  // minimum exponent digits; 0 keeps the usual two
    int align = 0;       // 0 no padding, 1 right with fill, 2 centre, 3 left
    int float_mode = 0;  // 0 like %g, 1 like %f, 2 like %e
    int letter_case = 0; // 0 not set, 1 upper, 2 lower
    int sign_mode = 0;   // 0 nothing, 1 space, 2 '+' before numbers that are not negative
    char fill = ' ';
    bool o_flag = false; // true: a text longer than the width is cut, a number shows '#'
    bool t_flag = false; // true: trailing zeros of the fraction are dropped

    bool has_width() const noexcept { return width != width_not_set; }
    bool is_upper() const noexcept { return letter_case == 1; }
};

// The caller's list of integer parameters, read by '!' in order and by '$' at a position.
class IntParamList
{
public:
    explicit IntParamList(std::span<const int> values = {}) noexcept
        : values_(values)
    {
    }

    // Both return false when the list has no such value.
    bool take_next(int& value) noexcept;
    bool take_at(int position, int& value) const noexcept; // position counts from 1

private:
    std::span<const int> values_;
    std::size_t next_ = 0;
};

// Reads a specification into fmt, starting from the defaults. Returns 0, or -1 for a missing or
// overflowing number, a 'w' without its fill character, or a missing integer parameter.
int parse_spec(std::string_view spec, IntParamList& params, FmtInfo& fmt) noexcept;

} // namespace kel::txt::out
