#include "morvane-host/ParameterEdits.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "morvane-host/ToolError.hpp"

namespace morvane_host
{

namespace
{

std::string trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::optional<double> read_number(const std::string& text)
{
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

float AutomationLane::get_value(double seconds) const
{
    const auto later = std::upper_bound(points.begin(), points.end(), seconds,
                                        [](double time, const AutomationPoint& point)
                                        { return time < point.seconds; });
    if (later == points.begin())
        return points.front().value;
    if (later == points.end())
        return points.back().value;
    const AutomationPoint& before = *(later - 1);
    const double fraction = (seconds - before.seconds) / (later->seconds - before.seconds);
    return static_cast<float>(before.value + fraction * (later->value - before.value));
}

ParameterText parse_parameter_text(const std::string& option)
{
    const auto equals = option.find('=');
    if (equals == std::string::npos || equals == 0)
        throw ToolError(ExitCode::usage,
                        "--set \"" + option + "\": expected \"Name=text\", e.g. \"Tone=0.5\"");
    return {option.substr(0, equals), option.substr(equals + 1)};
}

AutomationLane parse_automation_lane(const std::string& option)
{
    const std::string prefix = "--automate \"" + option + "\": ";
    const auto colon = option.rfind(':');
    if (colon == std::string::npos || colon == 0)
        throw ToolError(ExitCode::usage,
                        prefix + "expected \"Name:time=value,...\", e.g. \"Tone:0=0,4=1\"");
    AutomationLane lane;
    lane.name = option.substr(0, colon);
    const std::string list = option.substr(colon + 1);
    std::size_t start = 0;
    while (start <= list.size())
    {
        const auto comma = std::min(list.find(',', start), list.size());
        const std::string entry = trim(list.substr(start, comma - start));
        start = comma + 1;
        const auto equals = entry.find('=');
        if (equals == std::string::npos)
            throw ToolError(ExitCode::usage,
                            prefix + "\"" + entry + "\" is not a point \"time=value\"");
        const std::optional<double> time = read_number(trim(entry.substr(0, equals)));
        const std::optional<double> value = read_number(trim(entry.substr(equals + 1)));
        if (!time || *time < 0.0)
            throw ToolError(ExitCode::usage,
                            prefix + "\"" + entry + "\" has no time in seconds from 0 on");
        if (!value || *value < 0.0 || *value > 1.0)
            throw ToolError(ExitCode::usage,
                            prefix + "\"" + entry + "\" has no normalised value from 0 to 1");
        if (!lane.points.empty() && *time < lane.points.back().seconds)
            throw ToolError(ExitCode::usage,
                            prefix + "\"" + entry + "\" comes before the point ahead of it");
        lane.points.push_back({*time, static_cast<float>(*value)});
    }
    return lane;
}

} // namespace morvane_host
