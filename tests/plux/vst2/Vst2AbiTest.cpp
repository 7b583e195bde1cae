#include "plux/vst2/Vst2Abi.hpp"

#include <gtest/gtest.h>

// Unique IDs are built from characters at run time; a high character must not spread its sign.
TEST(Vst2Abi, FourCharacterCodesPutTheFirstCharacterInTheTopByte)
{
    const char high = '\xff';
    EXPECT_EQ(vst2::fourcc(high, 0, 0, 1), static_cast<vst2::VstInt32>(0xFF000001u));
    EXPECT_EQ(vst2::fourcc('T', 'X', 'm', 'v'), 0x54586D76);
}
