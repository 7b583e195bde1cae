#pragma once

#include <cstdint>
#include <span>

namespace basic
{

// An object that reads and writes itself as big-endian bytes (programs, banks, MIDI state).
class SerializableInterface
{
public:
    virtual ~SerializableInterface() = default;

    // Reads the object from src, never looking past its end. Returns 0, or a negative code when
    // the data are malformed or cut short; the object is then left exactly as it was.
    virtual int read(std::span<const std::uint8_t> src) = 0;
    // Writes get_size() bytes to the start of dst, which holds at least that many. Returns 0 or a
    // negative code.
    virtual int write(std::span<std::uint8_t> dst) const = 0;
    virtual int get_size() const = 0;
};

} // namespace basic
