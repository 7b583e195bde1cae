#pragma once

#include <functional>
#include <string>

namespace sys
{

class FileSelectorInterface;
class MessageBoxInterface;

// The shape the plug-in's file commands share: a dialog titled title asks for a file, the action
// runs on the chosen path, and a failure (the dialog's res_failed, or the action's code) is shown
// in the error box (sys::show_error_box) with failed and the path. Saving asks before replacing
// an existing file, Cancel being the default answer. User-interface thread only.
class FileCommand
{
public:
    // Results besides the codes of the dialog and of the action.
    static constexpr int res_done = 0;
    static constexpr int res_stopped = 1; // the user cancelled the dialog or the overwrite

    // 0 or a negative code.
    using Action = std::function<int(const std::string& path)>;

    static int load(FileSelectorInterface& selector, MessageBoxInterface& box,
                    const std::string& title, const std::string& failed, const Action& action);
    static int save(FileSelectorInterface& selector, MessageBoxInterface& box,
                    const std::string& title, const std::string& failed, const Action& action);
};

} // namespace sys
