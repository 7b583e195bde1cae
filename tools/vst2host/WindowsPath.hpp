#pragma once

#include <string>

namespace vst2host
{

// The path a Windows program has to give LoadLibraryA for path. Under wine a Unix absolute path
// names a file on drive Z:, so "/a/b.dll" becomes "Z:\a\b.dll"; every other path is left as it is
// (drive-letter paths, relative paths and bare file names, which Windows looks up next to the
// executable first).
std::string to_windows_path(const std::string& path);

} // namespace vst2host
