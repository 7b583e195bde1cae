#pragma once

#include <cstddef>
#include <vector>

namespace morvane_host
{

// Audio held in memory: one vector of samples per channel, all of the same length, at a rate in
// frames per second. Full scale is 1.0.
struct AudioData
{
    int rate = 48000;
    std::vector<std::vector<float>> channels;

    std::size_t get_frames() const noexcept
    {
        return channels.empty() ? 0 : channels.front().size();
    }
    double get_seconds() const noexcept
    {
        return static_cast<double>(get_frames()) / static_cast<double>(rate);
    }
};

// The highest absolute sample of any channel, in dBFS; minus infinity for silence.
double get_peak_dbfs(const AudioData& audio);
// The root mean square over every sample of every channel, in dBFS; minus infinity for silence.
double get_rms_dbfs(const AudioData& audio);

} // namespace morvane_host
