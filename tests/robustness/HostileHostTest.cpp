// Hosts that call at the wrong time or with the wrong arguments: audio before the effect is
// resumed or with 0 frames, blocks of any length up to 8192 frames whatever block size was
// announced, every sample rate a host may set, changed between blocks, null pointers and
// nonsense values for every opcode, and effClose with the editor open. Each call is answered
// without harm and the effect keeps working.
#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

#include "plux/vst2/EffectRig.hpp"

using plux_test::EffectSource;

namespace
{

constexpr int max_frames = 8192;

class RobustnessHostileHost : public plux_test::EffectSourceTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(plux_test::load(host, GetParam())) << host.get_error();
        effect_ = host.use_effect();
    }

    bool process(int frames) { return noise_.process(*effect_, frames); }

    vst2::AEffect* effect_ = nullptr;
    plux_test::NoiseRunner noise_{7, max_frames};
};

TEST_P(RobustnessHostileHost, AudioBeforeResumeAndEmptyBlocks)
{
    EXPECT_TRUE(process(64)) << "before effOpen";
    host.dispatch(vst2::effOpen);
    EXPECT_TRUE(process(512)) << "before any rate or block size";
    process(0);
    float* none[] = {nullptr, nullptr};
    effect_->processReplacing(effect_, nullptr, nullptr, 64);
    effect_->processReplacing(effect_, none, none, 0);
    effect_->processReplacing(effect_, nullptr, nullptr, -5);
    ASSERT_TRUE(host.start(44100.0f, 512));
    process(0);
    EXPECT_TRUE(process(512)) << "after empty blocks";
    host.suspend();
    EXPECT_TRUE(process(256)) << "after suspend";
    host.resume();
    EXPECT_TRUE(process(256));
}

TEST_P(RobustnessHostileHost, BlocksOfAnyLengthUpTo8192Frames)
{
    ASSERT_TRUE(host.start(44100.0f, 512));
    for (int frames = 1; frames <= max_frames; frames = frames * 3 + 1)
    {
        EXPECT_TRUE(process(frames)) << frames << " frames";
        EXPECT_TRUE(process(frames | 1)) << (frames | 1) << " frames";
    }
    for (const int frames : {1, 63, 64, 65, 511, 513, 4095, 8191, max_frames})
    {
        EXPECT_TRUE(process(frames)) << frames << " frames, more than the 512 announced";
    }
}

TEST_P(RobustnessHostileHost, EverySampleRateChangedBetweenBlocks)
{
    ASSERT_TRUE(host.start(44100.0f, 1024));
    const float rates[] = {4000.0f,  8000.0f,  11025.0f,  22050.0f,  44100.0f,  48000.0f,
                           88200.0f, 96000.0f, 176400.0f, 192000.0f, 352800.0f, 384000.0f};
    // Rates no effect can use, which the effect must survive all the same.
    const float hostile[] = {0.0f,
                             -44100.0f,
                             1.0f,
                             1000.0f,
                             1.0e6f,
                             std::numeric_limits<float>::quiet_NaN(),
                             std::numeric_limits<float>::infinity()};
    for (const float rate : rates)
    {
        host.dispatch(vst2::effSetSampleRate, 0, 0, nullptr, rate);
        EXPECT_TRUE(process(1024)) << rate << " Hz";
        EXPECT_TRUE(process(7)) << rate << " Hz";
    }
    for (const float rate : hostile)
    {
        host.dispatch(vst2::effSetSampleRate, 0, 0, nullptr, rate);
        EXPECT_TRUE(process(333)) << rate << " Hz";
    }
    // The polite way: suspended while the rate changes.
    for (const float rate : rates)
    {
        host.suspend();
        host.dispatch(vst2::effSetSampleRate, 0, 0, nullptr, rate);
        host.resume();
        EXPECT_TRUE(process(1024)) << rate << " Hz after a resume";
    }
}

TEST_P(RobustnessHostileHost, NullPointersAndNonsenseForEveryOpcode)
{
    ASSERT_TRUE(host.start(44100.0f, 512));
    const vst2::VstInt32 indices[] = {0, -1, 1 << 30};
    const vst2::VstIntPtr values[] = {0, -1, vst2::VstIntPtr{1} << 40};
    for (vst2::VstInt32 opcode = 0; opcode < 80; ++opcode)
    {
        if (opcode == vst2::effClose)
        {
            continue;
        }
        for (const auto index : indices)
        {
            for (const auto value : values)
            {
                host.dispatch(opcode, index, value, nullptr,
                              std::numeric_limits<float>::quiet_NaN());
            }
        }
        host.dispatch(vst2::effEditClose);
        host.dispatch(vst2::effMainsChanged, 0, 1);
    }
    // Event lists with null slots, and a list that says it holds none.
    std::vector<unsigned char> storage(sizeof(vst2::VstEvents) + 4 * sizeof(vst2::VstEvent*), 0);
    auto* list = reinterpret_cast<vst2::VstEvents*>(storage.data());
    list->numEvents = 4;
    host.dispatch(vst2::effProcessEvents, 0, 0, list);
    list->numEvents = -3;
    host.dispatch(vst2::effProcessEvents, 0, 0, list);

    host.dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 44100.0f);
    host.dispatch(vst2::effSetBlockSize, 0, 512);
    host.dispatch(vst2::effSetProgram, 0, 1);
    EXPECT_TRUE(process(512)) << "the effect still works";
    const auto chunk = host.get_chunk(false);
    EXPECT_FALSE(chunk.empty()) << "and still saves its state";
    EXPECT_EQ(host.set_chunk(chunk, false), 1);
    for (int i = 0; i < effect_->numParams; ++i)
    {
        const float value = effect_->getParameter(effect_, i);
        EXPECT_TRUE(value >= 0.0f && value <= 1.0f) << "parameter " << i << " is " << value;
    }
}

// What could go wrong here is memory: the sanitizer builds are the check.
TEST_P(RobustnessHostileHost, CloseWithTheEditorOpenOrRightAfterLoading)
{
    ASSERT_TRUE(host.start(44100.0f, 512));
    int parent = 0;
    host.dispatch(vst2::effEditOpen, 0, 0, &parent);
    host.dispatch(vst2::effEditIdle);
    EXPECT_TRUE(process(512));
    host.stop(); // suspend and close, the editor still open

    vst2host::Host scanner; // a host that only scans: loads and closes at once
    ASSERT_TRUE(plux_test::load(scanner, GetParam())) << scanner.get_error();
    scanner.stop();
}

INSTANTIATE_TEST_SUITE_P(Effects, RobustnessHostileHost,
                         testing::ValuesIn(plux_test::all_sources()),
                         [](const auto& info) { return plux_test::to_string(info.param); });

} // namespace
