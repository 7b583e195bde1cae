#include "basic/FileWriter.hpp"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace basic
{

namespace
{

std::atomic<unsigned> temp_counter{0};

// The file that a save to path really replaces: the target of a symbolic link, so that the link
// survives.
std::string resolve_target(const std::string& path)
{
    struct stat st = {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
    {
        return path;
    }
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr)
    {
        return path;
    }
    return resolved;
}

// Gives the complete new file the rights of the one it replaces. The owner goes first, since a
// change of owner clears the set-id bits.
void keep_rights(int fd, const std::string& target)
{
    struct stat old = {};
    if (::stat(target.c_str(), &old) != 0)
    {
        return;
    }
    // Root keeps the owner; a user keeps the group when a member of it.
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 &&
        ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0)
    {
        // The file stays the user's own, like any file the user creates, and the save goes on.
    }
    ::fchmod(fd, old.st_mode & 07777);
}

} // namespace

FileWriter::FileWriter(const std::string& path)
    : target(resolve_target(path))
{
    struct stat old = {};
    const bool has_old = ::stat(target.c_str(), &old) == 0;
    // Where the user could not open the old file for writing, the save fails as it would then.
    if (has_old && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
    {
        failure = Step::create;
        return;
    }

    const std::string::size_type slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    // Private until commit() when it replaces a file; otherwise with the rights the user's umask
    // gives any new file.
    const mode_t mode = has_old ? S_IRUSR | S_IWUSR : 0666;
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        // A short hidden name, so that a target name near the length limit still leaves room.
        temp_path = folder + ".tmp" + std::to_string(::getpid()) + "_" +
                    std::to_string(temp_counter.fetch_add(1)) + "~";
        const int fd = ::open(temp_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0)
        {
            handle = fd;
            return;
        }
        if (errno != EEXIST)
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
        const ssize_t done = ::write(static_cast<int>(handle), bytes, size);
        if (done > 0)
        {
            bytes += done;
            size -= static_cast<std::size_t>(done);
        }
        else if (done == 0 || errno != EINTR)
        {
            failure = Step::write;
        }
    }
    return failure == Step::none;
}

FileWriter::Step FileWriter::commit()
{
    if (is_open())
    {
        const int fd = static_cast<int>(std::exchange(handle, no_handle));
        if (failure == Step::none)
        {
            keep_rights(fd, target);
        }
        // Errors of delayed writes (a full disk, a network volume) show at the flush or the close.
        const bool flushed = failure == Step::none && ::fsync(fd) == 0;
        if ((::close(fd) != 0 || !flushed) && failure == Step::none)
        {
            failure = Step::write;
        }
    }
    if (failure == Step::none)
    {
        if (::rename(temp_path.c_str(), target.c_str()) == 0)
        {
            temp_path.clear();
        }
        else
        {
            failure = Step::replace;
        }
    }
    discard();
    return failure;
}

void FileWriter::discard()
{
    if (is_open())
    {
        ::close(static_cast<int>(std::exchange(handle, no_handle)));
    }
    if (!temp_path.empty())
    {
        ::unlink(temp_path.c_str());
        temp_path.clear();
    }
}

bool is_existing_file(const std::string& path)
{
    struct stat st = {};
    return ::lstat(path.c_str(), &st) == 0;
}

} // namespace basic
