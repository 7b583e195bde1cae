#pragma once

#include <span>
#include <vector>

#include "morvane-host/AudioData.hpp"

namespace morvane_host
{

// Sample formats of the WAV files the tool writes and reads without libsndfile.
enum class WavSampleFormat
{
    pcm16,
    pcm24,
    pcm32,
    float32,
};

// A RIFF WAVE file of any channel count with the samples in the format; integer formats clamp to
// full scale and round to the nearest step. Throws std::length_error past the format's 4 GiB.
std::vector<unsigned char> encode_wav(const AudioData& audio, WavSampleFormat format);

// Reads a RIFF WAVE file of 16-, 24- or 32-bit integer PCM or 32-bit float samples, plain or in
// the extensible layout. Unknown chunks are skipped; a data chunk that claims more bytes than the
// file holds gives the whole frames that are there, as a recording cut short does. Throws
// std::runtime_error naming the problem.
AudioData decode_wav(std::span<const unsigned char> bytes);

} // namespace morvane_host
