#include "basic/FileWriter.hpp"

#include <windows.h>

#include <atomic>
#include <utility>

namespace basic
{

namespace
{

std::atomic<unsigned> temp_counter{0};

HANDLE as_handle(std::intptr_t handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

// The file that a save to path really replaces: the target of a symbolic link, so that the link
// survives.
std::string resolve_target(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
    {
        return path;
    }
    const HANDLE file =
        ::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
    {
        return path;
    }
    char resolved[MAX_PATH];
    const DWORD len = ::GetFinalPathNameByHandleA(file, resolved, MAX_PATH, FILE_NAME_NORMALIZED);
    ::CloseHandle(file);
    return len > 0 && len < MAX_PATH ? std::string(resolved, len) : path;
}

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

// Whether the move failed because another program holds the target open for a moment (another
// instance loading it, a virus scanner, the search indexer), rather than for good.
bool is_held_open(const std::string& target)
{
    const DWORD error = ::GetLastError();
    const DWORD attributes = ::GetFileAttributesA(target.c_str());
    return (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION) &&
           attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) == 0;
}

} // namespace

FileWriter::FileWriter(const std::string& path)
    : target(resolve_target(path))
{
    const DWORD old = ::GetFileAttributesA(target.c_str());
    const bool has_old = old != INVALID_FILE_ATTRIBUTES;
    // Windows refuses to replace a read-only file; refusing before writing spares the work.
    if (has_old &&
        (old & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) == FILE_ATTRIBUTE_READONLY)
    {
        failure = Step::create;
        return;
    }
    // A file the user hid stays hidden. The new file takes these at creation, as the move keeps
    // the moved file's attributes and not the replaced one's.
    const DWORD kept =
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD attributes = has_old && (old & kept) != 0 ? old & kept : FILE_ATTRIBUTE_NORMAL;

    const std::string folder = folder_of(target);
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        // A short name, so that a target path near the length limit still leaves room.
        temp_path = folder + "~tmp" + std::to_string(::GetCurrentProcessId()) + "_" +
                    std::to_string(temp_counter.fetch_add(1)) + ".tmp";
        const HANDLE file = ::CreateFileA(temp_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          attributes, nullptr);
        if (file != INVALID_HANDLE_VALUE)
        {
            handle = reinterpret_cast<std::intptr_t>(file);
            return;
        }
        if (::GetLastError() != ERROR_FILE_EXISTS)
        {
            break;
        }
    }
    temp_path.clear();
    failure = Step::create;
}

bool FileWriter::write(const void* data, std::size_t size)
{
    const char* bytes = static_cast<const char*>(data);
    while (failure == Step::none && size > 0)
    {
        const DWORD chunk = size > 0x10000000u ? 0x10000000u : static_cast<DWORD>(size);
        DWORD done = 0;
        if (!::WriteFile(as_handle(handle), bytes, chunk, &done, nullptr) || done == 0)
        {
            failure = Step::write;
        }
        bytes += done;
        size -= done;
    }
    return failure == Step::none;
}

FileWriter::Step FileWriter::commit()
{
    if (is_open())
    {
        const HANDLE file = as_handle(std::exchange(handle, no_handle));
        const bool flushed = failure == Step::none && ::FlushFileBuffers(file);
        if ((!::CloseHandle(file) || !flushed) && failure == Step::none)
        {
            failure = Step::write;
        }
    }
    // Gives a reader of the target up to a second to let go of it.
    for (int attempt = 0; failure == Step::none; ++attempt)
    {
        if (::MoveFileExA(temp_path.c_str(), target.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        {
            temp_path.clear();
            break;
        }
        if (attempt == 100 || !is_held_open(target))
        {
            failure = Step::replace;
        }
        else
        {
            ::Sleep(10);
        }
    }
    discard();
    return failure;
}

void FileWriter::discard()
{
    if (is_open())
    {
        ::CloseHandle(as_handle(std::exchange(handle, no_handle)));
    }
    if (!temp_path.empty())
    {
        ::DeleteFileA(temp_path.c_str());
        temp_path.clear();
    }
}

bool is_existing_file(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace basic
