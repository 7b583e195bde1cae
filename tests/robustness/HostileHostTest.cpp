// Hosts that call at the wrong time or with the wrong arguments: audio before the effect is
// resumed or with 0 frames, blocks of any length up to 8192 frames whatever block size was
// announced, every sample rate a host may set, changed between blocks, null pointers and
// nonsense values for every opcode, and effClose with the editor open. Each call is answered
// without harm and the effect keeps working.
#include "vst2host/Host.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <vector>

#include "RobustnessRig.hpp"

using robustness::EffectSource;

namespace
{

constexpr int max_frames = 8192;

class RobustnessHostileHost : public testing::TestWithParam<EffectSource>
{
protected:
    void SetUp() override
    {
        for (auto& buf : in_)
        {
            buf.resize(max_frames);
        }
        for (auto& buf : out_)
        {
            buf.resize(max_frames);
        }
        ASSERT_TRUE(robustness::load(host_, GetParam())) << host_.get_error();
        effect_ = host_.use_effect();
    }
    void TearDown() override { host_.stop(); }

    // A block of noise straight through processReplacing, as many frames as the host likes; true
    // when every sample that came out is finite.
    bool process(int frames)
    {
        std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
        for (auto& buf : in_)
        {
            std::generate(buf.begin(), buf.begin() + frames, [&] { return noise(rng_); });
        }
        float* in[] = {in_[0].data(), in_[1].data()};
        float* out[] = {out_[0].data(), out_[1].data()};
        effect_->processReplacing(effect_, in, out, frames);
        const auto n = static_cast<std::size_t>(std::max(frames, 0));
        return robustness::all_finite({out_[0].data(), n}) &&
               robustness::all_finite({out_[1].data(), n});
    }

    vst2::VstIntPtr dispatch(vst2::VstInt32 opcode, vst2::VstInt32 index = 0,
                             vst2::VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f)
    {
        return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
    }

    vst2host::Host host_;
    vst2::AEffect* effect_ = nullptr;
    std::minstd_rand rng_{7};
    std::array<std::vector<float>, 2> in_;
    std::array<std::vector<float>, 2> out_;
};

TEST_P(RobustnessHostileHost, AudioBeforeResumeAndEmptyBlocks)
{
    EXPECT_TRUE(process(64)) << "before effOpen";
    dispatch(vst2::effOpen);
    EXPECT_TRUE(process(512)) << "before any rate or block size";
    process(0);
    float* none[] = {nullptr, nullptr};
    effect_->processReplacing(effect_, nullptr, nullptr, 64);
    effect_->processReplacing(effect_, none, none, 0);
    effect_->processReplacing(effect_, nullptr, nullptr, -5);
    ASSERT_TRUE(host_.start(44100.0f, 512));
    process(0);
    EXPECT_TRUE(process(512)) << "after empty blocks";
    host_.suspend();
    EXPECT_TRUE(process(256)) << "after suspend";
    host_.resume();
    EXPECT_TRUE(process(256));
}

TEST_P(RobustnessHostileHost, BlocksOfAnyLengthUpTo8192Frames)
{
    ASSERT_TRUE(host_.start(44100.0f, 512));
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
    ASSERT_TRUE(host_.start(44100.0f, 1024));
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
        dispatch(vst2::effSetSampleRate, 0, 0, nullptr, rate);
        EXPECT_TRUE(process(1024)) << rate << " Hz";
        EXPECT_TRUE(process(7)) << rate << " Hz";
    }
    for (const float rate : hostile)
    {
        dispatch(vst2::effSetSampleRate, 0, 0, nullptr, rate);
        EXPECT_TRUE(process(333)) << rate << " Hz";
    }
    // The polite way: suspended while the rate changes.
    for (const float rate : rates)
    {
        host_.suspend();
        dispatch(vst2::effSetSampleRate, 0, 0, nullptr, rate);
        host_.resume();
        EXPECT_TRUE(process(1024)) << rate << " Hz after a resume";
    }
}

TEST_P(RobustnessHostileHost, NullPointersAndNonsenseForEveryOpcode)
{
    ASSERT_TRUE(host_.start(44100.0f, 512));
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
                dispatch(opcode, index, value, nullptr, std::numeric_limits<float>::quiet_NaN());
            }
        }
        dispatch(vst2::effEditClose);
        dispatch(vst2::effMainsChanged, 0, 1);
    }
    // Event lists with null slots, and a list that says it holds none.
    std::vector<unsigned char> storage(sizeof(vst2::VstEvents) + 4 * sizeof(vst2::VstEvent*), 0);
    auto* list = reinterpret_cast<vst2::VstEvents*>(storage.data());
    list->numEvents = 4;
    dispatch(vst2::effProcessEvents, 0, 0, list);
    list->numEvents = -3;
    dispatch(vst2::effProcessEvents, 0, 0, list);

    dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 44100.0f);
    dispatch(vst2::effSetBlockSize, 0, 512);
    dispatch(vst2::effSetProgram, 0, 1);
    EXPECT_TRUE(process(512)) << "the effect still works";
    const auto chunk = host_.get_chunk(false);
    EXPECT_FALSE(chunk.empty()) << "and still saves its state";
    EXPECT_EQ(host_.set_chunk(chunk, false), 1);
    for (int i = 0; i < effect_->numParams; ++i)
    {
        const float value = effect_->getParameter(effect_, i);
        EXPECT_TRUE(value >= 0.0f && value <= 1.0f) << "parameter " << i << " is " << value;
    }
}

// What could go wrong here is memory: the sanitizer builds are the check.
TEST_P(RobustnessHostileHost, CloseWithTheEditorOpenOrRightAfterLoading)
{
    ASSERT_TRUE(host_.start(44100.0f, 512));
    int parent = 0;
    dispatch(vst2::effEditOpen, 0, 0, &parent);
    dispatch(vst2::effEditIdle);
    EXPECT_TRUE(process(512));
    host_.stop(); // suspend and close, the editor still open

    vst2host::Host scanner; // a host that only scans: loads and closes at once
    ASSERT_TRUE(robustness::load(scanner, GetParam())) << scanner.get_error();
    scanner.stop();
}

INSTANTIATE_TEST_SUITE_P(Effects, RobustnessHostileHost,
                         testing::ValuesIn(robustness::all_sources()),
                         [](const auto& info) { return robustness::to_string(info.param); });

} // namespace
