#pragma once

// The effect of the fuzz targets, built in this process through the VST 2 entry from the
// build's effect factory (Morvane's own when its engine is built, else the test effect) and
// driven through its effect record as a host drives it. One per process, reused by every input;
// reset() brings it back to the state after loading so that an input's result does not depend on
// the inputs before it.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "FuzzSupport.hpp"
#include "plux/vst2/Vst2Abi.hpp"

namespace plux
{
class Vst2WinPlugin;
}

namespace fuzz
{

class FuzzEffect
{
public:
    static constexpr int max_frames = 1024;

    // Aborts the process when the effect cannot be built: the target could test nothing.
    FuzzEffect();
    ~FuzzEffect();
    FuzzEffect(const FuzzEffect&) = delete;
    FuzzEffect& operator=(const FuzzEffect&) = delete;

    vst2::AEffect& use_effect() { return *effect_; }
    plux::Vst2WinPlugin& use_plugin();

    vst2::VstIntPtr dispatch(vst2::VstInt32 opcode, vst2::VstInt32 index = 0,
                             vst2::VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f);

    // The built-in bank and its program 0.
    void reset();

    // One block of frames (at most max_frames) of a full-scale square wave; aborts when the
    // effect writes a non-finite sample.
    void process(int frames);
    // Aborts when a parameter is outside 0..1 or not a number.
    void check_params();

    // The whole bank and the current program as the host would save them.
    std::vector<std::uint8_t> get_chunk(bool one_program);
    vst2::VstIntPtr set_chunk(std::span<const std::uint8_t> data, bool one_program);

private:
    vst2::AEffect* effect_ = nullptr;
    std::vector<std::uint8_t> builtin_bank_;
    std::vector<float> in_[2];
    std::vector<float> out_[2];
};

} // namespace fuzz
