#pragma once

#include "sys/FileCommand.hpp"

namespace sys
{
class FileSelectorInterface;
class MessageBoxInterface;
} // namespace sys

namespace plux
{

class SettingMgr;

// The setting file commands of the setup menu. Both share one file selector, which keeps the
// last chosen file so that the next dialog starts there. A file loaded or saved successfully
// becomes the file that autoload loads. Failures are shown in a box titled "Error" with the path
// and the code. User-interface thread only; the manager must be initialised.
class SettingCommands
{
public:
    // Results besides the codes of the dialog and of the manager.
    static constexpr int res_done = sys::FileCommand::res_done;
    static constexpr int res_stopped = sys::FileCommand::res_stopped;

    // Gives selector the single filter of setting files and makes it current.
    static void setup_file_selector(sys::FileSelectorInterface& selector);

    // Asks for a file, asks before replacing an existing one, and saves the settings there.
    static int save_settings_cmd(SettingMgr& mgr, sys::FileSelectorInterface& selector,
                                 sys::MessageBoxInterface& box);
    // Asks for a file and loads the settings from it.
    static int load_settings_cmd(SettingMgr& mgr, sys::FileSelectorInterface& selector,
                                 sys::MessageBoxInterface& box);
};

} // namespace plux
