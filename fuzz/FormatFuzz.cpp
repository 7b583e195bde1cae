// Formatted output: any format string with any arguments and integer parameters, printed into a
// fixed array.
//
// Input: byte 0 the array's capacity (0 to 255), byte 1 the number of integer parameters (0 to
// 7) followed by them as 32-bit values, then a 64-bit integer, a 64-bit float and a text length
// byte with the text: the arguments 1, 2 and 3. The rest is the format string.
//
// The printer never writes outside the array, always leaves it terminated, and its size and
// result agree with what it wrote.
#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "FuzzSupport.hpp"
#include "kel/txt/out/ArgFloat.hpp"
#include "kel/txt/out/ArgInt.hpp"
#include "kel/txt/out/ArgString.hpp"
#include "kel/txt/out/Errors.hpp"
#include "kel/txt/out/PrintNa.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kel::txt::out;
    // Big-endian numbers and texts from the front of the input; what is missing reads as 0.
    std::size_t pos = 0;
    const auto take = [&](int bytes)
    {
        std::uint64_t v = 0;
        for (int i = 0; i < bytes; ++i)
        {
            v = (v << 8) | (pos < size ? data[pos++] : 0);
        }
        return v;
    };
    const auto take_text = [&](std::size_t len)
    {
        len = std::min(len, size - pos);
        const std::string_view text(reinterpret_cast<const char*>(data + pos), len);
        pos += len;
        return text;
    };
    const auto capacity = static_cast<std::size_t>(take(1));
    std::vector<int> int_params(take(1) % 8);
    for (int& p : int_params)
    {
        p = static_cast<int>(static_cast<std::uint32_t>(take(4)));
    }
    const ArgInt arg_int(static_cast<std::int64_t>(take(8)));
    const ArgFloat arg_float(std::bit_cast<double>(take(8)));
    const ArgString arg_text(take_text(static_cast<std::size_t>(take(1))));
    const std::string_view fmt = take_text(size - pos);

    // Guard bytes on both sides of the printer's array show any write outside it.
    constexpr std::size_t guard = 16;
    std::vector<char> buffer(capacity + 2 * guard, '\x5A');
    char* array = buffer.data() + guard;
    PrintNa printer(array, capacity);
    const ArgBase* const args[] = {&arg_int, &arg_float, &arg_text};
    const int ret = printer.append_list(fmt, args, int_params);
    for (std::size_t i = 0; i < guard; ++i)
    {
        if (buffer[i] != '\x5A' || buffer[guard + capacity + i] != '\x5A')
        {
            fuzz::fail("the printer wrote outside its array");
        }
    }
    if (capacity == 0)
    {
        if (printer.size() != 0 || !printer.is_truncated())
        {
            fuzz::fail("an array of capacity 0 holds text");
        }
        return 0;
    }
    if (printer.size() >= capacity || array[printer.size()] != '\0')
    {
        fuzz::fail("the text is not terminated inside the array");
    }
    if (ret >= 0 && (static_cast<std::size_t>(ret) != printer.size() || printer.is_truncated()))
    {
        fuzz::fail("the result disagrees with the text printed");
    }
    if (ret == err_truncated && !printer.is_truncated())
    {
        fuzz::fail("a truncation is reported but not kept");
    }
    // Printing again from a clear printer gives the same text: nothing depends on earlier calls.
    const std::string first(printer.view());
    printer.print("");
    printer.append_list(fmt, args, int_params);
    if (printer.view() != first)
    {
        fuzz::fail("the same call prints another text");
    }
    return 0;
}
