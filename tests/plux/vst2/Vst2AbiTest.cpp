#include "plux/vst2/Vst2Abi.hpp"

#include <gtest/gtest.h>

// Layouts are checked by static_asserts in the header; these are the numbers hosts compare.
TEST(Vst2Abi, FourCharacterCodesPutTheFirstCharacterInTheTopByte)
{
    EXPECT_EQ(vst2::kEffectMagic, 0x56737450);
    EXPECT_EQ(vst2::kIdentifyAnswer, 0x4E764566);
    EXPECT_EQ(vst2::fourcc('T', 'X', 'm', 'v'), 0x54586D76);
    EXPECT_EQ(vst2::fourcc('\xff', 0, 0, 1), static_cast<vst2::VstInt32>(0xFF000001u));
}

TEST(Vst2Abi, OpcodesKeepTheirNumbers)
{
    EXPECT_EQ(vst2::effGetChunk, 23);
    EXPECT_EQ(vst2::effProcessEvents, 25);
    EXPECT_EQ(vst2::effVendorSpecific, 50);
    EXPECT_EQ(vst2::effCanDo, 51);
    EXPECT_EQ(vst2::effGetParameterProperties, 56);
    EXPECT_EQ(vst2::effGetNumMidiOutputChannels, 79);
    EXPECT_EQ(vst2::audioMasterGetTime, 7);
    EXPECT_EQ(vst2::audioMasterGetDirectory, 41);
    EXPECT_EQ(vst2::audioMasterEndEdit, 44);
    EXPECT_EQ(vst2::kVstTempoValid, 0x400);
}
