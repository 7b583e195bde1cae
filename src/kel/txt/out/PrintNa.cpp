#include "kel/txt/out/PrintNa.hpp"

#include <algorithm>
#include <climits>
#include <cstring>

#include "kel/txt/out/Errors.hpp"
#include "kel/txt/out/Formatter.hpp"

namespace kel::txt::out
{

PrintNa::PrintNa(char* array, std::size_t capacity) noexcept
    : array_(array)
    , capacity_(array != nullptr ? capacity : 0)
{
    clear();
}

void PrintNa::clear()
{
    len_ = 0;
    truncated_ = capacity_ == 0;
    if (capacity_ > 0)
    {
        array_[0] = '\0';
    }
}

void PrintNa::put_char(char c)
{
    put_fill(c, 1);
}

void PrintNa::put_chars(const char* text, std::size_t len)
{
    const std::size_t n = std::min(len, room());
    truncated_ = truncated_ || n < len;
    if (n > 0)
    {
        std::memcpy(array_ + len_, text, n);
        len_ += n;
        array_[len_] = '\0';
    }
}

void PrintNa::put_fill(char c, std::size_t len)
{
    const std::size_t n = std::min(len, room());
    truncated_ = truncated_ || n < len;
    if (n > 0)
    {
        std::memset(array_ + len_, c, n);
        len_ += n;
        array_[len_] = '\0';
    }
}

int PrintNa::append_list(std::string_view fmt, std::span<const ArgBase* const> args,
                         std::span<const int> int_params)
{
    const std::size_t before = len_;
    const bool was_truncated = truncated_;
    truncated_ = false;
    const int ret = format_to(*this, fmt, args, int_params);
    const bool cut = truncated_;
    truncated_ = truncated_ || was_truncated;
    if (ret != 0)
    {
        return ret;
    }
    if (cut)
    {
        return err_truncated;
    }
    return static_cast<int>(std::min<std::size_t>(len_ - before, INT_MAX));
}

} // namespace kel::txt::out
