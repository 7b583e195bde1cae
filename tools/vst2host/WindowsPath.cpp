#include "vst2host/WindowsPath.hpp"

#include <algorithm>

namespace vst2host
{

std::string to_windows_path(const std::string& path)
{
    if (path.empty() || path.front() != '/')
        return path;
    std::string result = "Z:" + path;
    std::replace(result.begin(), result.end(), '/', '\\');
    return result;
}

} // namespace vst2host
