#include "basic/TextFile.hpp"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "basic/ConfErr.hpp"

namespace basic
{

namespace
{

std::atomic<unsigned> temp_counter{0};

// The file that a write to path really replaces: the target of a symbolic link, so that the
// link survives.
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

// Creates a temporary file beside target that no other writer, in this process or another, uses.
int create_temp(const std::string& target, std::string& temp_path)
{
    const std::string::size_type slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        // A short hidden name, so that a target name near the length limit still leaves room.
        temp_path = folder + ".tmp" + std::to_string(::getpid()) + "_" +
                    std::to_string(temp_counter.fetch_add(1)) + "~";
        const int fd =
            ::open(temp_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
        if (fd >= 0 || errno != EEXIST)
        {
            return fd;
        }
    }
    return -1;
}

bool write_all(int fd, const std::string& text)
{
    const char* data = text.data();
    std::size_t left = text.size();
    while (left > 0)
    {
        const ssize_t done = ::write(fd, data, left);
        if (done < 0)
        {
            if (errno == EINTR)
            {
                continue;
            }
            return false;
        }
        data += done;
        left -= static_cast<std::size_t>(done);
    }
    return true;
}

} // namespace

int write_text_file_atomic(const std::string& path, const std::string& text)
{
    const std::string target = resolve_target(path);
    std::string temp_path;
    const int fd = create_temp(target, temp_path);
    if (fd < 0)
    {
        return conf_err::file_open_write_failed;
    }

    // The new file keeps the access rights of the one it replaces; a new one gets the usual
    // rights of the user's files.
    struct stat st = {};
    if (::stat(target.c_str(), &st) == 0)
    {
        ::fchmod(fd, st.st_mode & 07777);
    }
    else
    {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }

    const bool written = write_all(fd, text) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written)
    {
        ::unlink(temp_path.c_str());
        return conf_err::file_write_failed;
    }
    if (::rename(temp_path.c_str(), target.c_str()) != 0)
    {
        ::unlink(temp_path.c_str());
        return conf_err::file_open_write_failed;
    }
    return conf_err::ok;
}

bool is_existing_file(const std::string& path)
{
    struct stat st = {};
    return ::lstat(path.c_str(), &st) == 0;
}

} // namespace basic
