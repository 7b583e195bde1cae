#include "kel/txt/out/Formatter.hpp"

#include "kel/txt/out/Errors.hpp"
#include "kel/txt/out/FmtInfo.hpp"

namespace kel::txt::out
{

namespace
{

bool is_digit(char c) noexcept
{
    return c >= '0' && c <= '9';
}

// Argument numbers beyond this are refused rather than overflowing.
constexpr int max_arg_number = 214748363;

// One placeholder found by the scanner: "%<number><spec>%" at [begin, end).
struct Placeholder
{
    std::size_t begin = 0;
    std::size_t end = 0;
    int number = 0; // -1 when the number overflowed
    std::string_view spec;
};

// Walks fmt, handing literal text to on_text and closed placeholders to on_placeholder. Returns
// false when fmt ends inside a placeholder; the unfinished tail is then left unhandled and its
// start is stored in tail.
template <typename OnText, typename OnPlaceholder>
bool scan(std::string_view fmt, OnText&& on_text, OnPlaceholder&& on_placeholder, std::size_t& tail)
{
    int state = 0;
    std::size_t literal_begin = 0;
    Placeholder ph;
    std::size_t spec_begin = 0;
    for (std::size_t i = 0; i < fmt.size(); ++i)
    {
        const char c = fmt[i];
        switch (state)
        {
        case 0:
            if (c == '%')
            {
                on_text(fmt.substr(literal_begin, i - literal_begin));
                ph = Placeholder{};
                ph.begin = i;
                state = 1;
            }
            break;
        case 1:
            if (is_digit(c))
            {
                ph.number = c - '0';
                state = 2;
            }
            else
            {
                // "%%" prints one '%'; '%' and any other character print as they are.
                on_text(c == '%' ? fmt.substr(i, 1) : fmt.substr(ph.begin, 2));
                literal_begin = i + 1;
                state = 0;
            }
            break;
        case 2:
            if (is_digit(c))
            {
                if (ph.number >= 0)
                {
                    ph.number = ph.number > max_arg_number / 10 ? -1 : ph.number * 10 + (c - '0');
                }
            }
            else if (c == '%')
            {
                ph.end = i + 1;
                on_placeholder(ph);
                literal_begin = i + 1;
                state = 0;
            }
            else
            {
                spec_begin = i;
                state = 3;
            }
            break;
        default:
            if (c == '%')
            {
                ph.end = i + 1;
                ph.spec = fmt.substr(spec_begin, i - spec_begin);
                on_placeholder(ph);
                literal_begin = i + 1;
                state = 0;
            }
            break;
        }
    }
    if (state != 0)
    {
        tail = ph.begin;
        return false;
    }
    on_text(fmt.substr(literal_begin));
    return true;
}

} // namespace

int scan_format(std::string_view fmt) noexcept
{
    int highest = 0;
    bool overflow = false;
    std::size_t tail = 0;
    const bool complete = scan(
        fmt, [](std::string_view) {},
        [&](const Placeholder& ph)
        {
            overflow = overflow || ph.number < 0;
            highest = ph.number > highest ? ph.number : highest;
        },
        tail);
    return (complete && !overflow) ? highest : err_format;
}

int format_to(DevInterface& dev, std::string_view fmt, std::span<const ArgBase* const> args,
              std::span<const int> int_params)
{
    int result = 0;
    IntParamList params(int_params);
    std::size_t tail = 0;
    const bool complete = scan(
        fmt, [&](std::string_view text) { dev.put_chars(text.data(), text.size()); },
        [&](const Placeholder& ph)
        {
            FmtInfo info;
            const bool known = ph.number >= 1 &&
                               static_cast<std::size_t>(ph.number) <= args.size() &&
                               args[static_cast<std::size_t>(ph.number) - 1] != nullptr;
            if (known && parse_spec(ph.spec, params, info) == 0 &&
                args[static_cast<std::size_t>(ph.number) - 1]->render(dev, info) == 0)
            {
                return;
            }
            const std::string_view raw = fmt.substr(ph.begin, ph.end - ph.begin);
            dev.put_chars(raw.data(), raw.size());
            result = err_format;
        },
        tail);
    if (!complete)
    {
        dev.put_chars(fmt.data() + tail, fmt.size() - tail);
        result = err_format;
    }
    return result;
}

} // namespace kel::txt::out
