#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <type_traits>

#include "kel/txt/out/ArgBase.hpp"
#include "kel/txt/out/DevInterface.hpp"

namespace kel::txt::out
{

// A device that formats into itself. The result of printing is the number of characters the call
// added, or a negative code (Errors.hpp); the text is usable in every case.
class PrintInterface : public DevInterface
{
public:
    ~PrintInterface() override = default;

    // Appends fmt with its arguments; int_params feed the '!' and '$' numbers of specifications.
    virtual int append_list(std::string_view fmt, std::span<const ArgBase* const> args,
                            std::span<const int> int_params) = 0;
    virtual void clear() = 0;
    virtual std::size_t size() const = 0;
    virtual bool is_truncated() const = 0;
    virtual std::string_view view() const = 0;
    // Always terminated by a zero.
    virtual const char* c_str() const = 0;

    template <typename... Args>
    int print(std::string_view fmt, const Args&... args)
    {
        clear();
        return append(fmt, args...);
    }

    template <typename... Args>
    int append(std::string_view fmt, const Args&... args)
    {
        static_assert((std::is_base_of_v<ArgBase, Args> && ...),
                      "arguments are ArgInt, ArgFloat, ArgString");
        const ArgBase* const list[] = {static_cast<const ArgBase*>(&args)..., nullptr};
        return append_list(fmt, std::span(list, sizeof...(Args)), {});
    }
};

} // namespace kel::txt::out
