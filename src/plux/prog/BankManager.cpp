#include "plux/prog/BankManager.hpp"

#include <cassert>
#include <climits>
#include <stdexcept>

#include "basic/BigEndian.hpp"
#include "plux/prog/BankErr.hpp"

namespace plux
{

ProgramSlot& BankManager::use_prog(int index)
{
    assert(index >= 0 && index < get_nbr_prog());
    return progs_[static_cast<std::size_t>(index)];
}

const ProgramSlot& BankManager::use_prog(int index) const
{
    assert(index >= 0 && index < get_nbr_prog());
    return progs_[static_cast<std::size_t>(index)];
}

void BankManager::set_prog(int index, const ProgramSlot& prog)
{
    use_prog(index) = prog;
}

void BankManager::resize(int nbr_prog)
{
    if (nbr_prog < 0)
    {
        throw std::invalid_argument("plux::BankManager::resize() : Negative number of programs.");
    }
    progs_.resize(static_cast<std::size_t>(nbr_prog));
}

int BankManager::read(std::span<const std::uint8_t> src)
{
    using namespace basic::big_endian;
    if (src.size() < header_size)
    {
        return bank_err::data_malformed;
    }
    const std::uint32_t nbr_prog = load_u32(&src[0]);
    const std::uint32_t rec_size = load_u32(&src[4]);
    if (nbr_prog > INT_MAX || rec_size > INT_MAX ||
        (nbr_prog > 0 && rec_size < ProgramSlot::header_size) ||
        std::uint64_t{nbr_prog} * rec_size > src.size() - header_size)
    {
        return bank_err::data_malformed;
    }

    // The count is bounded by the data's size, so a hostile header cannot make this huge.
    std::vector<ProgramSlot> progs(nbr_prog);
    for (std::size_t i = 0; i < progs.size(); ++i)
    {
        if (progs[i].read(src.subspan(header_size + i * rec_size, rec_size)) != bank_err::ok)
        {
            return bank_err::data_malformed;
        }
    }
    progs_.swap(progs);
    return bank_err::ok;
}

int BankManager::write(std::span<std::uint8_t> dst) const
{
    using namespace basic::big_endian;
    const int size = get_size();
    if (size < 0)
    {
        return bank_err::not_representable;
    }
    const int rec_size = progs_.empty() ? 0 : progs_.front().get_size();
    for (const ProgramSlot& prog : progs_)
    {
        if (prog.get_size() != rec_size ||
            prog.use_values().size() > std::size_t{ProgramSlot::max_nbr_values})
        {
            return bank_err::not_representable;
        }
    }
    if (dst.size() < static_cast<std::size_t>(size))
    {
        return bank_err::dst_too_small;
    }

    store_u32(&dst[0], static_cast<std::uint32_t>(progs_.size()));
    store_u32(&dst[4], static_cast<std::uint32_t>(rec_size));
    std::size_t pos = header_size;
    for (const ProgramSlot& prog : progs_)
    {
        const int ret = prog.write(dst.subspan(pos, static_cast<std::size_t>(rec_size)));
        if (ret != bank_err::ok)
        {
            return ret;
        }
        pos += static_cast<std::size_t>(rec_size);
    }
    return bank_err::ok;
}

int BankManager::get_size() const
{
    if (progs_.empty())
    {
        return header_size;
    }
    const int rec_size = progs_.front().get_size();
    const std::uint64_t size = header_size + std::uint64_t{progs_.size()} * rec_size;
    return rec_size < 0 || size > INT_MAX ? -1 : static_cast<int>(size);
}

} // namespace plux
