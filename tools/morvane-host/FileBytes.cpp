#include "morvane-host/FileBytes.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "morvane-host/ToolError.hpp"

namespace morvane_host
{

namespace
{

struct CloseFile
{
    void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};

using FilePtr = std::unique_ptr<std::FILE, CloseFile>;

[[noreturn]] void fail(const std::string& path, const std::string& what, int error)
{
    throw ToolError(ExitCode::file, path + ": " + what + ": " + std::strerror(error));
}

} // namespace

std::vector<unsigned char> read_file_bytes(const std::string& path)
{
    std::error_code code;
    if (std::filesystem::is_directory(path, code))
        throw ToolError(ExitCode::file, path + ": cannot read: it is a folder");
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file)
        fail(path, "cannot read", errno);
    std::vector<unsigned char> bytes;
    unsigned char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof(buffer), file.get())) > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    if (std::ferror(file.get()))
        fail(path, "cannot read", errno);
    return bytes;
}

void write_file_bytes(const std::string& path, std::span<const unsigned char> bytes)
{
    FilePtr file(std::fopen(path.c_str(), "wb"));
    if (!file)
        fail(path, "cannot write", errno);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    const int error = errno;
    const bool closed = std::fclose(file.release()) == 0;
    if (!written || !closed)
    {
        std::remove(path.c_str());
        fail(path, "cannot write", written ? errno : error);
    }
}

} // namespace morvane_host
