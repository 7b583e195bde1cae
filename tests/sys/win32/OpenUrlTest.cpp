#include "sys/OpenUrl.hpp"

#include <gtest/gtest.h>

TEST(OpenUrl, ATargetTheShellCannotOpenFails)
{
    EXPECT_EQ(sys::open_url("Z:\\morvane-no-such-folder\\no-such-file.morvane-test"), -1);
}
