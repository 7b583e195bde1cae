#include "plux/prog/BankFile.hpp"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

#include "basic/BigEndian.hpp"
#include "basic/FileWriter.hpp"
#include "plux/prog/BankErr.hpp"

namespace plux
{

namespace
{

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Files are read in pieces no larger than this, so that a hostile length field costs no more
// memory than the file really holds.
constexpr std::size_t read_piece = 64 * 1024;

bool has_magic(std::span<const std::uint8_t> header)
{
    return std::equal(std::begin(bank_magic), std::end(bank_magic), header.begin());
}

std::uint32_t get_body_length(std::span<const std::uint8_t> header)
{
    return basic::big_endian::load_u32(&header[4]);
}

// Parses into a bank of its own and hands it to target only when every test has passed.
int parse_body(std::span<const std::uint8_t> body, BankManager& target,
               const BankCheckInterface* check, bool strict)
{
    BankManager parsed;
    if (parsed.read(body) != bank_err::ok)
    {
        return bank_err::body_unparsable;
    }
    if (check != nullptr && !check->check_bank(parsed))
    {
        return bank_err::check_refused;
    }
    if (strict)
    {
        if (parsed.get_nbr_prog() != target.get_nbr_prog())
        {
            return bank_err::prog_count_mismatch;
        }
        for (int i = 0; i < parsed.get_nbr_prog(); ++i)
        {
            if (parsed.use_prog(i).use_values().size() != target.use_prog(i).use_values().size())
            {
                return bank_err::value_count_mismatch;
            }
        }
    }
    target = std::move(parsed);
    return bank_err::ok;
}

} // namespace

int load_bank_mem(std::span<const std::uint8_t> data, BankManager& target,
                  const BankCheckInterface* check, bool strict)
{
    if (data.size() < bank_file_header_size)
    {
        return bank_err::header_read_short;
    }
    if (!has_magic(data))
    {
        return bank_err::bad_magic;
    }
    const std::size_t body_len =
        std::min<std::size_t>(get_body_length(data), data.size() - bank_file_header_size);
    return parse_body(data.subspan(bank_file_header_size, body_len), target, check, strict);
}

int load_bank_file(const std::string& path, BankManager& target, const BankCheckInterface* check,
                   bool strict)
{
    const FilePtr file(std::fopen(path.c_str(), "rb"));
    if (file == nullptr)
    {
        return bank_err::open_failed;
    }
    std::uint8_t header[bank_file_header_size];
    if (std::fread(header, 1, sizeof(header), file.get()) != sizeof(header))
    {
        return bank_err::header_read_short;
    }
    if (!has_magic(header))
    {
        return bank_err::bad_magic;
    }

    const std::size_t body_len = get_body_length(header);
    std::vector<std::uint8_t> body;
    while (body.size() < body_len)
    {
        const std::size_t done = body.size();
        const std::size_t piece = std::min(body_len - done, read_piece);
        body.resize(done + piece);
        if (std::fread(body.data() + done, 1, piece, file.get()) != piece)
        {
            return bank_err::body_read_short;
        }
    }
    return parse_body(body, target, check, strict);
}

int save_bank_file(const std::string& path, const basic::SerializableInterface& bank)
{
    basic::FileWriter file(path);
    if (!file.is_open())
    {
        return bank_err::open_failed;
    }
    const int body_len = bank.get_size();
    if (body_len < 0)
    {
        return bank_err::layout_failed;
    }
    std::uint8_t header[bank_file_header_size];
    std::copy(std::begin(bank_magic), std::end(bank_magic), header);
    basic::big_endian::store_u32(&header[4], static_cast<std::uint32_t>(body_len));
    if (!file.write(header, sizeof(header)))
    {
        return bank_err::header_write_failed;
    }

    std::vector<std::uint8_t> body(static_cast<std::size_t>(body_len), 0);
    if (bank.write(body) != 0)
    {
        return bank_err::layout_failed;
    }
    if (!file.write(body.data(), body.size()))
    {
        return bank_err::body_write_failed;
    }
    switch (file.commit())
    {
    case basic::FileWriter::Step::none:
        return bank_err::ok;
    case basic::FileWriter::Step::write:
        return bank_err::body_write_failed;
    default:
        return bank_err::open_failed;
    }
}

} // namespace plux
