#pragma once

// A host for the torture test: it keeps no log, only what the checks need, so that it can answer
// every thread of the plug-in at full speed for as long as the test runs. It checks each
// automation report on arrival and follows the begin-edit/end-edit gesture of every parameter.
// One at a time per process.
#include <array>
#include <atomic>

#include "plux/vst2/EffectRig.hpp"
#include "vst2host/ModuleLoader.hpp"

namespace robustness
{

class TortureHost
{
public:
    static constexpr int max_params = 64;
    static constexpr int max_block = 2048;
    static constexpr float sample_rate = 44100.0f;

    TortureHost();
    ~TortureHost();
    TortureHost(const TortureHost&) = delete;
    TortureHost& operator=(const TortureHost&) = delete;

    // Loads and starts the effect (open, rate, block size, resume); false with a test failure.
    bool start(plux_test::EffectSource source);
    // Suspends and closes the effect.
    void stop();
    vst2::AEffect* use_effect() const { return effect_; }

    // Any thread.
    int get_begin_edits(int index) const { return begins_[index].load(); }
    int get_end_edits(int index) const { return ends_[index].load(); }

    // What went wrong in a callback: an automation outside 0..1 or of no parameter, a begin-edit
    // inside an open gesture, an end-edit without one.
    std::atomic<int> bad_automations{0};
    std::atomic<int> nested_begins{0};
    std::atomic<int> lone_ends{0};

private:
    static vst2::VstIntPtr callback(vst2::AEffect* effect, vst2::VstInt32 opcode,
                                    vst2::VstInt32 index, vst2::VstIntPtr value, void* ptr,
                                    float opt);
    vst2::VstIntPtr answer(vst2::VstInt32 opcode, vst2::VstInt32 index, float opt);

    vst2host::ModuleLoader module_;
    vst2::AEffect* effect_ = nullptr;
    std::array<std::atomic<bool>, max_params> open_{};
    std::array<std::atomic<int>, max_params> begins_{};
    std::array<std::atomic<int>, max_params> ends_{};
};

} // namespace robustness
