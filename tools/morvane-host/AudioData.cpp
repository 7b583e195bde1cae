#include "morvane-host/AudioData.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace morvane_host
{

namespace
{

double to_dbfs(double level)
{
    if (!(level > 0.0))
        return -std::numeric_limits<double>::infinity();
    return 20.0 * std::log10(level);
}

} // namespace

double get_peak_dbfs(const AudioData& audio)
{
    double peak = 0.0;
    for (const auto& channel : audio.channels)
    {
        for (const float sample : channel)
            peak = std::max(peak, static_cast<double>(std::fabs(sample)));
    }
    return to_dbfs(peak);
}

double get_rms_dbfs(const AudioData& audio)
{
    double energy = 0.0;
    std::size_t count = 0;
    for (const auto& channel : audio.channels)
    {
        for (const float sample : channel)
            energy += static_cast<double>(sample) * static_cast<double>(sample);
        count += channel.size();
    }
    if (count == 0)
        return to_dbfs(0.0);
    return to_dbfs(std::sqrt(energy / static_cast<double>(count)));
}

} // namespace morvane_host
