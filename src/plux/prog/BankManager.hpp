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
    int get_nbr_prog() const { return static_cast<int>(progs_.size()); }
    // index must lie below get_nbr_prog().
    ProgramSlot& use_prog(int index);
    const ProgramSlot& use_prog(int index) const;
    void set_prog(int index, const ProgramSlot& prog);
    // New programs are default programs.
    void resize(int nbr_prog);

    int read(std::span<const std::uint8_t> src) override;
    // Fails (negative) when the programs differ in record size.
    int write(std::span<std::uint8_t> dst) const override;
    int get_size() const override;

private:
    std::vector<ProgramSlot> progs_;
};

} // namespace plux
