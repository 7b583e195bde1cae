#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "basic/SerializableInterface.hpp"

namespace plux
{

// One program: a name, the normalised values of the parameters in DSP order, and an optional
// block of extra bytes. Serialised as a big-endian record:
// tag (4), name field size (2), number of values (2), extra size (4), name, values, extra.
class ProgramSlot final : public basic::SerializableInterface
{
public:
    // The name field as written, terminating zero included.
    static constexpr int name_field_size = 64;
    static constexpr int max_name_len = name_field_size - 1;
    // Tag, name field size, number of values and extra size.
    static constexpr int header_size = 12;
    // The record stores the number of values in 16 bits.
    static constexpr int max_nbr_values = 0xFFFF;

    // "Default", no values, no extra data, tag 0.
    ProgramSlot();

    const char* get_name() const { return name_; }
    // Keeps at most max_name_len characters, up to the first zero byte.
    void set_name(std::string_view name);

    std::vector<float>& use_values() { return values_; }
    const std::vector<float>& use_values() const { return values_; }
    std::vector<std::uint8_t>& use_extra() { return extra_; }
    const std::vector<std::uint8_t>& use_extra() const { return extra_; }
    std::uint32_t get_tag() const { return tag_; }
    void set_tag(std::uint32_t tag) { tag_ = tag; }

    // The name field may have any size N: at most max_name_len of its bytes make the name, and
    // the values follow it at header_size + N. Trailing bytes after the record are ignored.
    int read(std::span<const std::uint8_t> src) override;
    // Writes a name field of name_field_size bytes, zero-padded after the name. Fails when there
    // are more than max_nbr_values values.
    int write(std::span<std::uint8_t> dst) const override;
    // header_size + name_field_size + 4 × values + extra bytes; -1 beyond the range of int.
    int get_size() const override;

private:
    std::vector<float> values_;
    std::vector<std::uint8_t> extra_;
    char name_[name_field_size];
    std::uint32_t tag_ = 0;
};

} // namespace plux
