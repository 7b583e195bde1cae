#pragma once

#include <vector>

#include "basic/SerializableInterface.hpp"
#include "plux/prog/ProgramSlot.hpp"

namespace plux
{

// An ordered list of programs. Serialised as a big-endian header (number of programs, record
// size) followed by one record per program; every record has the size of program 0.
class BankManager final : public basic::SerializableInterface
{
public:
    // Number of programs and record size.
    static constexpr int header_size = 8;

    int get_nbr_prog() const { return static_cast<int>(progs_.size()); }
    // index must lie below get_nbr_prog().
    ProgramSlot& use_prog(int index);
    const ProgramSlot& use_prog(int index) const;
    void set_prog(int index, const ProgramSlot& prog);
    // New programs are default programs. Throws std::invalid_argument for a negative count.
    void resize(int nbr_prog);

    // Every record must lie inside its R bytes and all of them inside src.
    int read(std::span<const std::uint8_t> src) override;
    // Fails (negative) when the programs differ in record size, writing nothing.
    int write(std::span<std::uint8_t> dst) const override;
    // header_size + programs × size of program 0 (8 for an empty bank); -1 beyond the range of
    // int.
    int get_size() const override;

private:
    std::vector<ProgramSlot> progs_;
};

} // namespace plux
