// Preset bank files and bank resources: the input is the whole file, read through load_bank_mem
// and, written to a file, through load_bank_file, loosely and strictly.
//
// A failing load leaves the target bank as it was; a successful one gives the bank the file
// holds, whichever loader read it; a loaded bank that can be written survives a save and a load.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <span>
#include <vector>

#include "FuzzSupport.hpp"
#include "plux/prog/BankFile.hpp"
#include "plux/prog/BankManager.hpp"

namespace
{

// Eight programs of eight values, as the effect's preset memory.
plux::BankManager make_target()
{
    plux::BankManager bank;
    bank.resize(8);
    for (int i = 0; i < 8; ++i)
    {
        bank.use_prog(i).use_values().assign(8, 0.25f);
    }
    return bank;
}

// The bank's bytes, or empty when it cannot be laid out.
std::vector<std::uint8_t> bytes_of(const plux::BankManager& bank)
{
    const int size = bank.get_size();
    if (size < 0)
    {
        return {};
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    return bank.write(bytes) == 0 ? bytes : std::vector<std::uint8_t>{};
}

// The two loaders on the same data; the file loader reads it from path.
void load_both(std::span<const std::uint8_t> data, const std::string& path, bool strict)
{
    const plux::BankManager original = make_target();
    const auto original_bytes = bytes_of(original);

    plux::BankManager from_mem = original;
    const int mem_code = plux::load_bank_mem(data, from_mem, nullptr, strict);
    plux::BankManager from_file = original;
    const int file_code = plux::load_bank_file(path, from_file, nullptr, strict);

    if (mem_code != 0 && bytes_of(from_mem) != original_bytes)
    {
        fuzz::fail("a failing load_bank_mem changed the target");
    }
    if (file_code != 0 && bytes_of(from_file) != original_bytes)
    {
        fuzz::fail("a failing load_bank_file changed the target");
    }
    if (mem_code > 0 || file_code > 0)
    {
        fuzz::fail("a loader answered a positive code");
    }
    // The memory loader ends the body at the end of the data; the file loader wants all of it.
    const bool complete =
        data.size() >= 8 && ((std::uint64_t{data[4]} << 24) | (std::uint64_t{data[5]} << 16) |
                             (std::uint64_t{data[6]} << 8) | data[7]) <= data.size() - 8;
    if (complete && mem_code != file_code)
    {
        fuzz::fail("the two loaders disagree on the same bank");
    }
    if (mem_code == 0 && file_code == 0 && from_mem.get_nbr_prog() != from_file.get_nbr_prog())
    {
        fuzz::fail("the two loaders read different banks");
    }
    if (mem_code != 0)
    {
        return;
    }
    const auto loaded = bytes_of(from_mem);
    if (loaded.empty())
    {
        return; // programs of different sizes: such a bank is never written
    }
    const std::string saved = path + ".saved.pbk";
    plux::BankManager again = original;
    if (plux::save_bank_file(saved, from_mem) != 0 ||
        plux::load_bank_file(saved, again, nullptr, strict) != 0 || bytes_of(again) != loaded)
    {
        fuzz::fail("a loaded bank does not survive a save and a load");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = fuzz::temp_file_path("bank.pbk");
    const std::span<const std::uint8_t> file(data, size);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size)).flush())
    {
        fuzz::fail("cannot write the input file");
    }
    out.close();
    load_both(file, path, false);
    load_both(file, path, true);
    return 0;
}
