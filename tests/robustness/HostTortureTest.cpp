// A host at its worst: the audio thread processes blocks of changing size with MIDI events just
// before each, the user-interface thread switches, renames and saves and restores programs and
// banks while the user drags knobs, a third thread automates parameters, a MIDI thread feeds
// controllers, and the plug-in's own background task closes gestures. Run under ThreadSanitizer
// in the native-tsan preset (10 s); the normal suites run it for 2 s.
#include <array>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "TortureHost.hpp"
#include "basic/LockFreeRingFifo.hpp"
#include "plux/GuiInterface.hpp"
#include "plux/HostGuiInterface.hpp"
#include "plux/vst2/EffectRig.hpp"
#include "plux/vst2/Vst2WinPlugin.hpp"
#include "vst2host/Host.hpp"
#include "vst2host/MidiEventList.hpp"

using namespace std::chrono_literals;
using plux_test::EffectSource;

namespace
{

using MidiMessage = std::array<unsigned char, 3>;

// What each thread saw going wrong; read after the threads have stopped.
struct Findings
{
    std::atomic<int> non_finite_blocks{0};
    std::atomic<int> params_out_of_range{0};
    std::atomic<int> refused_chunks{0};
    std::atomic<long> blocks{0};
    std::atomic<long> ui_rounds{0};
    std::atomic<long> automations{0};
    std::atomic<long> midi_messages{0};
};

class RobustnessTorture : public testing::TestWithParam<EffectSource>
{
protected:
    void audio_thread();
    void ui_thread();
    void automation_thread();
    void midi_thread();

    bool running() const { return !stop_.load(std::memory_order_relaxed); }
    vst2::VstIntPtr dispatch(vst2::VstInt32 opcode, vst2::VstInt32 index, vst2::VstIntPtr value,
                             void* ptr)
    {
        return effect_->dispatcher(effect_, opcode, index, value, ptr, 0.0f);
    }

    robustness::TortureHost host_;
    vst2::AEffect* effect_ = nullptr;
    plux::HostGuiInterface* editor_ = nullptr; // in process only: the editor's road
    basic::LockFreeRingFifo<MidiMessage> midi_{1024};
    std::atomic<bool> stop_{false};
    Findings found_;
};

// Block sizes a host may use, 0 included, and some that no host would choose.
constexpr std::array<int, 16> block_sizes = {0,   1,   2,   3,   7,   31,   64,   65,
                                             127, 128, 333, 511, 512, 1023, 2047, 2048};

void RobustnessTorture::audio_thread()
{
    std::minstd_rand rng(1);
    plux_test::NoiseRunner runner(1, robustness::TortureHost::max_block);
    vst2host::MidiEventList events(256);
    while (running())
    {
        const int frames = block_sizes[rng() % block_sizes.size()];
        events.clear();
        MidiMessage msg{};
        while (events.size() < events.get_capacity() && midi_.read(msg))
        {
            events.add(frames > 0 ? static_cast<int>(rng() % frames) : 0, msg[0], msg[1], msg[2]);
        }
        if (events.size() > 0)
        {
            dispatch(vst2::effProcessEvents, 0, 0, events.use_events());
        }
        found_.non_finite_blocks += runner.process(*effect_, frames) ? 0 : 1;
        ++found_.blocks;
    }
}

void RobustnessTorture::ui_thread()
{
    std::minstd_rand rng(2);
    const int nbr_programs = effect_->numPrograms;
    const int nbr_params = effect_->numParams;
    char text[256];
    while (running())
    {
        const long round = found_.ui_rounds.load();
        dispatch(vst2::effSetProgram, 0, static_cast<int>(rng() % nbr_programs), nullptr);
        std::string name = "Torture " + std::to_string(round);
        dispatch(vst2::effSetProgramName, 0, 0, name.data());
        dispatch(vst2::effGetProgramName, 0, 0, text);
        dispatch(vst2::effGetProgramNameIndexed, static_cast<int>(rng() % nbr_programs), -1, text);

        // Saved and restored as hosts do with a project, a bank one round and a program the next.
        const int one_program = static_cast<int>(round % 2);
        void* data = nullptr;
        const auto size =
            std::max<vst2::VstIntPtr>(dispatch(vst2::effGetChunk, one_program, 0, &data), 0);
        const auto* bytes = static_cast<const unsigned char*>(data);
        std::vector<unsigned char> chunk(bytes, bytes != nullptr ? bytes + size : bytes);
        const bool taken =
            !chunk.empty() && dispatch(vst2::effSetChunk, one_program, size, chunk.data()) == 1;
        found_.refused_chunks += taken ? 0 : 1;

        if (nbr_params > 0)
        {
            const int index = static_cast<int>(rng() % nbr_params);
            dispatch(vst2::effGetParamDisplay, index, 0, text);
            if (editor_ != nullptr && editor_->take(index, 200))
            {
                // A knob pressed, dragged and let go.
                for (int step = 0; step < 4; ++step)
                {
                    editor_->set_param_and_notify(index, static_cast<float>(rng() % 1001) / 1000.0f,
                                                  200);
                }
                editor_->release(index, 200);
            }
        }
        dispatch(vst2::effEditIdle, 0, 0, nullptr);
        dispatch(vst2::effIdle, 0, 0, nullptr);
        ++found_.ui_rounds;
        std::this_thread::sleep_for(1ms);
    }
}

void RobustnessTorture::automation_thread()
{
    std::minstd_rand rng(3);
    const int nbr_params = effect_->numParams;
    // Hosts send what their automation lanes hold, which is not always a normalised value.
    constexpr std::array<float, 5> hostile = {-1.0f, 2.0f, std::numeric_limits<float>::infinity(),
                                              -std::numeric_limits<float>::infinity(),
                                              std::numeric_limits<float>::quiet_NaN()};
    while (running() && nbr_params > 0)
    {
        const int index = static_cast<int>(rng() % nbr_params);
        const float value = rng() % 50 == 0 ? hostile[rng() % hostile.size()]
                                            : static_cast<float>(rng() % 10001) / 10000.0f;
        effect_->setParameter(effect_, index, value);
        const float read = effect_->getParameter(effect_, static_cast<int>(rng() % nbr_params));
        if (!(read >= 0.0f && read <= 1.0f))
        {
            ++found_.params_out_of_range;
        }
        ++found_.automations;
        if (found_.automations.load() % 64 == 0)
        {
            std::this_thread::sleep_for(100us);
        }
    }
}

void RobustnessTorture::midi_thread()
{
    std::minstd_rand rng(4);
    while (running())
    {
        // NRPN n with a 14-bit value, the default binding of parameter n, on a random channel.
        const auto chn = static_cast<unsigned char>(rng() % 16);
        const auto status = static_cast<unsigned char>(0xB0 | chn);
        const auto number = static_cast<unsigned char>(rng() % 10);
        const auto value = static_cast<unsigned>(rng() % 16384);
        const MidiMessage msgs[] = {{status, 99, 0},
                                    {status, 98, number},
                                    {status, 6, static_cast<unsigned char>(value >> 7)},
                                    {status, 38, static_cast<unsigned char>(value & 0x7F)}};
        for (const MidiMessage& msg : msgs)
        {
            while (running() && !midi_.write(msg))
            {
                std::this_thread::sleep_for(1ms);
            }
            ++found_.midi_messages;
        }
        std::this_thread::sleep_for(200us);
    }
}

TEST_P(RobustnessTorture, EveryThreadOfAHostAtOnce)
{
    ASSERT_TRUE(host_.start(GetParam()));
    effect_ = host_.use_effect();
    const int nbr_params = effect_->numParams;
    ASSERT_GT(nbr_params, 0);
    if (GetParam() == EffectSource::test_entry)
    {
        ASSERT_NE(plux_test::plugin_of(*effect_).use_gui(), nullptr);
        editor_ = plux_test::plugin_of(*effect_).use_gui()->get_host();
    }
    // MORVANE_TORTURE_SECONDS, else 2.
    const char* text = std::getenv("MORVANE_TORTURE_SECONDS");
    const auto seconds = std::chrono::duration<double>(
        text != nullptr && std::atof(text) > 0.0 ? std::atof(text) : 2.0);
    std::thread audio([this] { audio_thread(); });
    std::thread ui([this] { ui_thread(); });
    std::thread automation([this] { automation_thread(); });
    std::thread midi([this] { midi_thread(); });
    std::this_thread::sleep_for(seconds);
    stop_ = true;
    audio.join();
    ui.join();
    automation.join();
    midi.join();

    EXPECT_GT(found_.blocks.load(), 100);
    EXPECT_GT(found_.ui_rounds.load(), 10);
    EXPECT_GT(found_.automations.load(), 100);
    EXPECT_GT(found_.midi_messages.load(), 100);
    EXPECT_EQ(found_.non_finite_blocks.load(), 0) << "every sample stays finite";
    EXPECT_EQ(found_.params_out_of_range.load(), 0) << "every parameter stays in 0..1";
    EXPECT_EQ(found_.refused_chunks.load(), 0) << "every chunk the effect gave is taken back";

    // Once every source is quiet and the half second that protects a change is over, host
    // automation wins again: each parameter answers what a quiet instance answers to the same
    // value.
    std::this_thread::sleep_for(700ms);
    vst2host::Host quiet;
    ASSERT_TRUE(plux_test::load(quiet, GetParam())) << quiet.get_error();
    ASSERT_TRUE(quiet.start(robustness::TortureHost::sample_rate, 512));
    for (int i = 0; i < nbr_params; ++i)
    {
        const float value = static_cast<float>(i + 1) / static_cast<float>(nbr_params + 2);
        effect_->setParameter(effect_, i, value);
        quiet.set_parameter(i, value);
        EXPECT_EQ(effect_->getParameter(effect_, i), quiet.get_parameter(i))
            << "parameter " << i << " keeps the last value the host set";
    }
    quiet.stop();

    host_.stop();
    int begins = 0;
    for (int i = 0; i < nbr_params; ++i)
    {
        begins += host_.get_begin_edits(i);
        EXPECT_EQ(host_.get_begin_edits(i), host_.get_end_edits(i))
            << "every begin-edit of parameter " << i
            << " has its end-edit once the effect is closed";
    }
    EXPECT_GT(begins, 0) << "MIDI controllers and the editor opened gestures";
    EXPECT_EQ(host_.bad_automations.load(), 0) << "automations outside 0..1 or of no parameter";
    EXPECT_EQ(host_.nested_begins.load(), 0) << "begin-edits inside an open gesture";
    EXPECT_EQ(host_.lone_ends.load(), 0) << "end-edits without a gesture";
}

INSTANTIATE_TEST_SUITE_P(Effects, RobustnessTorture, testing::ValuesIn(plux_test::all_sources()),
                         [](const auto& info) { return plux_test::to_string(info.param); });

} // namespace
