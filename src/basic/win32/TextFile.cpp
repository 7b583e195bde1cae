#include "basic/TextFile.hpp"

#include <windows.h>

#include <atomic>
#include <cstddef>

#include "basic/ConfErr.hpp"

namespace basic
{

namespace
{

std::atomic<unsigned> temp_counter{0};

// The folder part of path, with its last separator. In double-byte code pages a trail byte can
// equal '\\', so the bytes are walked character by character.
std::string folder_of(const std::string& path)
{
    std::size_t end = 0;
    for (std::size_t pos = 0; pos < path.size(); ++pos)
    {
        const char c = path[pos];
        if (c == '\\' || c == '/' || c == ':')
        {
            end = pos + 1;
        }
        else if (::IsDBCSLeadByte(static_cast<BYTE>(c)))
        {
            ++pos;
        }
    }
    return path.substr(0, end);
}

// Creates a temporary file beside target that no other writer, in this process or another, uses.
HANDLE create_temp(const std::string& target, std::string& temp_path)
{
    const std::string folder = folder_of(target);
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        // A short name, so that a target path near the length limit still leaves room.
        temp_path = folder + "~tmp" + std::to_string(::GetCurrentProcessId()) + "_" +
                    std::to_string(temp_counter.fetch_add(1)) + ".tmp";
        const HANDLE file = ::CreateFileA(temp_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS)
        {
            return file;
        }
    }
    return INVALID_HANDLE_VALUE;
}

bool write_all(HANDLE file, const std::string& text)
{
    const char* data = text.data();
    std::size_t left = text.size();
    while (left > 0)
    {
        const DWORD chunk = left > 0x10000000u ? 0x10000000u : static_cast<DWORD>(left);
        DWORD done = 0;
        if (!::WriteFile(file, data, chunk, &done, nullptr) || done == 0)
        {
            return false;
        }
        data += done;
        left -= done;
    }
    return true;
}

} // namespace

int write_text_file_atomic(const std::string& path, const std::string& text)
{
    std::string temp_path;
    const HANDLE file = create_temp(path, temp_path);
    if (file == INVALID_HANDLE_VALUE)
    {
        return conf_err::file_open_write_failed;
    }

    const bool written = write_all(file, text) && ::FlushFileBuffers(file);
    if (!::CloseHandle(file) || !written)
    {
        ::DeleteFileA(temp_path.c_str());
        return conf_err::file_write_failed;
    }
    if (!::MoveFileExA(temp_path.c_str(), path.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    {
        ::DeleteFileA(temp_path.c_str());
        return conf_err::file_open_write_failed;
    }
    return conf_err::ok;
}

bool is_existing_file(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace basic
