#pragma once

#include <string>
#include <vector>

namespace morvane_host
{

// A --set option: a parameter's name and the text the plug-in is to read into it.
struct ParameterText
{
    std::string name;
    std::string text;
};

struct AutomationPoint
{
    double seconds = 0.0;
    float value = 0.0f; // normalised, 0 to 1
};

// An --automate option: a parameter's name and its normalised value over time.
struct AutomationLane
{
    std::string name;
    std::vector<AutomationPoint> points; // at least one, in time order

    // The value at a time: straight lines between the points, the first point's value before it
    // and the last one's after it; where two points share a time, the later one holds from it on.
    float get_value(double seconds) const;
};

// "Name=text", split at the first '='. Throws ToolError with ExitCode::usage.
ParameterText parse_parameter_text(const std::string& option);
// "Name:time=value,time=value,...": times in seconds, not negative and in order; values 0 to 1.
// The name ends at the last ':'. Throws ToolError with ExitCode::usage naming the fault.
AutomationLane parse_automation_lane(const std::string& option);

} // namespace morvane_host
