#pragma once

#include <cstddef>

#include "kel/txt/out/PrintInterface.hpp"

namespace kel::txt::out
{

// Prints into a caller's character array of fixed capacity. It never writes past the array and
// keeps it zero-terminated; what does not fit is dropped and reported as err_truncated. It does
// not allocate.
class PrintNa final : public PrintInterface
{
public:
    // capacity counts the terminating zero; an array of capacity 0 is never touched.
    PrintNa(char* array, std::size_t capacity) noexcept;

    template <std::size_t N>
    explicit PrintNa(char (&array)[N]) noexcept
        : PrintNa(array, N)
    {
    }

    void put_char(char c) override;
    void put_chars(const char* text, std::size_t len) override;
    void put_fill(char c, std::size_t len) override;

    int append_list(std::string_view fmt, std::span<const ArgBase* const> args,
                    std::span<const int> int_params) override;
    void clear() override;
    std::size_t size() const override { return len_; }
    bool is_truncated() const override { return truncated_; }
    std::string_view view() const override { return {array_, len_}; }
    const char* c_str() const override { return capacity_ > 0 ? array_ : ""; }

private:
    std::size_t room() const noexcept { return capacity_ > 0 ? capacity_ - 1 - len_ : 0; }

    char* array_;
    std::size_t capacity_;
    std::size_t len_ = 0;
    bool truncated_ = false;
};

} // namespace kel::txt::out
