#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "basic/SerializableInterface.hpp"
#include "plux/prog/BankCheckInterface.hpp"
#include "plux/prog/BankManager.hpp"

// Preset bank files and bank resources: the magic "QBNK", the body length L (big-endian), and the
// bank's own layout in L bytes. All three answer 0 or a code of plux::bank_err, and a failing load
// leaves the target bank as it was. Not for the audio thread: they allocate and do file I/O.
namespace plux
{

inline constexpr char bank_magic[4] = {'Q', 'B', 'N', 'K'};
inline constexpr int bank_file_header_size = 8;

// A bank held in memory, such as a module resource. The body ends at L or at the end of data,
// whichever comes first. check may be null; strict demands the target's number of programs and,
// program by program, its number of values.
int load_bank_mem(std::span<const std::uint8_t> data, BankManager& target,
                  const BankCheckInterface* check, bool strict);

// path is in the system's narrow encoding.
int load_bank_file(const std::string& path, BankManager& target, const BankCheckInterface* check,
                   bool strict);

// Replaces the file in one step (basic::FileWriter), so that a failing save keeps the bank file
// that was there. A temporary file that cannot be created or cannot take the target's place (a
// read-only file among others) answers open_failed; a flush that fails, body_write_failed.
int save_bank_file(const std::string& path, const basic::SerializableInterface& bank);

} // namespace plux
