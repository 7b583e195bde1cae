#pragma once

// The effect of the fuzz targets, built in this process from the build's effect factory
// (Morvane's own when its engine is built, else the test effect) and driven by the test host as a
// DAW drives it. One per process, reused by every input; reset() brings it back to the state
// after loading so that an input's result does not depend on the inputs before it.
#include <cstdint>
#include <span>
#include <vector>

#include "FuzzSupport.hpp"
#include "vst2host/Host.hpp"

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

    vst2host::Host& use_host() { return host_; }
    vst2::AEffect& use_effect() { return *host_.use_effect(); }
    plux::Vst2WinPlugin& use_plugin();

    // The built-in bank and its program 0, and a host that has forgotten the calls before.
    void reset();
    // One block of frames (at most max_frames) of a full-scale square wave; aborts when the
    // effect writes a non-finite sample.
    void process(int frames);
    // Aborts when a parameter is outside 0..1 or not a number.
    void check_params();
    // A copy the size of the data, so that the sanitizer sees any read past what the host gave.
    vst2::VstIntPtr set_chunk(std::span<const std::uint8_t> data, bool one_program);

private:
    vst2host::Host host_;
    std::vector<std::uint8_t> builtin_bank_;
    std::vector<float> in_;
    std::vector<float> out_[2];
};

} // namespace fuzz
