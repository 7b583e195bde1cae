#include "sys/OpenUrl.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "sys/posix/ProgramFolder.hpp"

namespace
{

// What a writer puts into the pipe until it closes it; gives up after 10 s without news.
std::string read_all(const std::string& fifo)
{
    const int fd = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    std::string text;
    pollfd waiting{fd, POLLIN, 0};
    while (fd >= 0 && ::poll(&waiting, 1, 10000) > 0)
    {
        char buffer[256];
        const ssize_t len = ::read(fd, buffer, sizeof(buffer));
        if (len <= 0)
        {
            break;
        }
        text.append(buffer, static_cast<std::size_t>(len));
    }
    ::close(fd);
    return text;
}

} // namespace

TEST(OpenUrl, TheDesktopOpenerGetsTheAddressAsItsOnlyArgument)
{
    const test::ProgramFolder programs;
    const std::string fifo = programs.path() + "/seen";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    programs.add_script("xdg-open", "printf '%s|%s' \"$#\" \"$1\" > '" + fifo + "'\n");

    const std::string url = "https://www.tarvex.com/jump.php?type=product&productid=11&a='b c'";
    ASSERT_EQ(sys::open_url(url), 0);
    EXPECT_EQ(read_all(fifo), "1|" + url) << "no shell in between splits or expands it";
}

TEST(OpenUrl, WithoutAnOpenerTheDebugOutputSaysSo)
{
    const test::ProgramFolder programs;
    testing::internal::CaptureStderr();
    EXPECT_EQ(sys::open_url("https://www.tarvex.com"), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "sys::open_url: Error: couldn't open html browser.\n");
}
