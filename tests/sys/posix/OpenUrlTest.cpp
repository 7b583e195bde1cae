#include "sys/OpenUrl.hpp"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

// PATH holds only a folder of the test's own, where a fake opener may be put.
class OpenUrl : public testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = std::filesystem::temp_directory_path() / "morvane_url_XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        const char* path = std::getenv("PATH");
        saved_path = path != nullptr ? path : "";
        ::setenv("PATH", folder.c_str(), 1);
    }

    void TearDown() override
    {
        ::setenv("PATH", saved_path.c_str(), 1);
        std::filesystem::remove_all(folder);
    }

    std::string folder;
    std::string saved_path;
};

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

TEST_F(OpenUrl, TheDesktopOpenerGetsTheAddressAsItsOnlyArgument)
{
    const std::string fifo = folder + "/seen";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string opener = folder + "/xdg-open";
    std::ofstream(opener) << "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > '" << fifo << "'\n";
    ::chmod(opener.c_str(), 0755);

    const std::string url = "https://www.tarvex.com/jump.php?type=product&productid=11&a='b c'";
    ASSERT_EQ(sys::open_url(url), 0);
    EXPECT_EQ(read_all(fifo), "1|" + url) << "no shell in between splits or expands it";
}

TEST_F(OpenUrl, WithoutAnOpenerTheDebugOutputSaysSo)
{
    testing::internal::CaptureStderr();
    EXPECT_EQ(sys::open_url("https://www.tarvex.com"), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "sys::open_url: Error: couldn't open html browser.\n");
}
