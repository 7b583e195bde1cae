#include "plux/prog/ProgramSlot.hpp"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>

#include "basic/BigEndian.hpp"
#include "plux/prog/BankErr.hpp"

namespace plux
{

ProgramSlot::ProgramSlot()
    : name_{}
{
    set_name("Default");
}

void ProgramSlot::set_name(std::string_view name)
{
    const std::size_t len = std::min({name.size(), std::size_t{max_name_len}, name.find('\0')});
    std::fill(std::begin(name_), std::end(name_), '\0');
    std::copy_n(name.data(), len, name_);
}

int ProgramSlot::read(std::span<const std::uint8_t> src)
{
    using namespace basic::big_endian;
    if (src.size() < header_size)
    {
        return bank_err::data_malformed;
    }
    const std::uint32_t tag = load_u32(&src[0]);
    const std::size_t name_size = load_u16(&src[4]);
    const std::size_t nbr_values = load_u16(&src[6]);
    const std::uint32_t extra_size = load_u32(&src[8]);
    // Sizes up to 2^32 + 2^18 cannot overflow 64 bits.
    const std::uint64_t values_pos = header_size + name_size;
    const std::uint64_t extra_pos = values_pos + 4 * std::uint64_t{nbr_values};
    if (extra_size > INT_MAX || extra_pos + extra_size > src.size())
    {
        return bank_err::data_malformed;
    }

    // Parsed aside and committed at the end, so that a failure changes nothing.
    char name[name_field_size] = {};
    const auto name_bytes =
        src.subspan(header_size, std::min<std::size_t>(name_size, max_name_len));
    std::copy(name_bytes.begin(), std::find(name_bytes.begin(), name_bytes.end(), 0), name);

    std::vector<float> values(nbr_values);
    for (std::size_t i = 0; i < nbr_values; ++i)
    {
        values[i] = std::bit_cast<float>(load_u32(&src[values_pos + 4 * i]));
    }
    const auto extra_bytes = src.subspan(extra_pos, extra_size);
    std::vector<std::uint8_t> extra(extra_bytes.begin(), extra_bytes.end());

    tag_ = tag;
    std::copy(std::begin(name), std::end(name), name_);
    values_.swap(values);
    extra_.swap(extra);
    return bank_err::ok;
}

int ProgramSlot::write(std::span<std::uint8_t> dst) const
{
    using namespace basic::big_endian;
    const int size = get_size();
    if (values_.size() > std::size_t{max_nbr_values} || size < 0)
    {
        return bank_err::not_representable;
    }
    if (dst.size() < static_cast<std::size_t>(size))
    {
        return bank_err::dst_too_small;
    }
    store_u32(&dst[0], tag_);
    store_u16(&dst[4], name_field_size);
    store_u16(&dst[6], static_cast<std::uint16_t>(values_.size()));
    store_u32(&dst[8], static_cast<std::uint32_t>(extra_.size()));
    // name_ is zero-padded by set_name and read, so the field goes out whole.
    std::memcpy(&dst[header_size], name_, name_field_size);
    std::size_t pos = header_size + name_field_size;
    for (const float value : values_)
    {
        store_u32(&dst[pos], std::bit_cast<std::uint32_t>(value));
        pos += 4;
    }
    std::copy(extra_.begin(), extra_.end(), dst.begin() + static_cast<std::ptrdiff_t>(pos));
    return bank_err::ok;
}

int ProgramSlot::get_size() const
{
    const std::uint64_t size =
        header_size + name_field_size + 4 * std::uint64_t{values_.size()} + extra_.size();
    return size > INT_MAX ? -1 : static_cast<int>(size);
}

} // namespace plux
