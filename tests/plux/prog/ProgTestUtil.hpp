#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
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

// A fresh folder in the system's temporary folder, removed with its content at the end.
class TempDir
{
public:
    TempDir()
        : path_(std::filesystem::temp_directory_path() /
                ("morvane_prog_test_" + std::to_string(std::random_device()())))
    {
        std::filesystem::create_directories(path_);
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }
    int count_files() const
    {
        const std::filesystem::directory_iterator it(path_);
        return static_cast<int>(std::distance(begin(it), end(it)));
    }

private:
    std::filesystem::path path_;
};

inline void write_file(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<std::uint8_t> read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace prog_test
