#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "plux/prog/BankManager.hpp"

namespace prog_test
{

// The object's bytes as it writes them; empty when it refuses to write.
inline std::vector<std::uint8_t> bytes_of(const basic::SerializableInterface& obj)
{
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(obj.get_size()), 0);
    return obj.write(bytes) == 0 ? bytes : std::vector<std::uint8_t>{};
}

// Program i is named "Program i" and holds the values i + k / 8, k = 0 … nbr_values - 1.
inline plux::BankManager make_bank(int nbr_prog, int nbr_values)
{
    plux::BankManager bank;
    bank.resize(nbr_prog);
    for (int i = 0; i < nbr_prog; ++i)
    {
        bank.use_prog(i).set_name("Program " + std::to_string(i));
        for (int k = 0; k < nbr_values; ++k)
        {
            bank.use_prog(i).use_values().push_back(static_cast<float>(i) + k / 8.0f);
        }
    }
    return bank;
}

} // namespace prog_test
