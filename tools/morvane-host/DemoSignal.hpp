#pragma once

#include "morvane-host/AudioData.hpp"

namespace morvane_host
{

// Length of the demo signal in seconds: four bars of 4/4 at 120 BPM.
constexpr double demo_seconds = 8.0;
// Its highest sample, in dBFS.
constexpr double demo_peak_dbfs = -12.0;

// A stereo groove synthesised at the rate: kick, snare and hi-hats, a saw bass line and saw chords
// (A minor, F, C, G) through a resonant filter whose sweep moves across their harmonics, enough to
// hear what a resonant filter bank with distortion does. The same samples on every run and every
// build: only additions, multiplications, divisions and floor go into it, no library functions
// whose last bit may differ between platforms.
AudioData make_demo_signal(int rate);

} // namespace morvane_host
