#pragma once

#include <cstddef>

namespace kel::txt::out
{

// Where formatted characters go. A bounded device drops what does not fit and remembers it.
class DevInterface
{
public:
    virtual ~DevInterface() = default;

    virtual void put_char(char c) = 0;
    virtual void put_chars(const char* text, std::size_t len) = 0;
    // len copies of c; a bounded device stops at its end, so len may be huge.
    virtual void put_fill(char c, std::size_t len) = 0;
};

} // namespace kel::txt::out
