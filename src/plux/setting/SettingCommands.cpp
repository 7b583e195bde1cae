#include "plux/setting/SettingCommands.hpp"

#include <string>

#include "plux/setting/SettingAutoload.hpp"
#include "plux/setting/SettingMgr.hpp"
#include "sys/FileCommand.hpp"
#include "sys/FileSelectorInterface.hpp"

namespace plux
{

namespace
{

constexpr const char* file_ext = "cfg.txt";

// Runs the manager's load or save; a file that worked becomes the one autoload loads. Failing to
// remember it costs only the autoload: nothing to tell the user.
sys::FileCommand::Action remembering(SettingMgr& mgr, int (SettingMgr::*run)(const std::string&))
{
    return [&mgr, run](const std::string& path)
    {
        const int code = (mgr.*run)(path);
        if (code == 0)
        {
            mgr.use_autoload().set_latest_config_file(path);
        }
        return code;
    };
}

} // namespace

void SettingCommands::setup_file_selector(sys::FileSelectorInterface& selector)
{
    selector.clear_filter_list();
    selector.add_filter(std::string("Tarvex plug-in setting file (*.") + file_ext + ")",
                        std::string("*.") + file_ext);
    selector.set_filter_index(0);
}

int SettingCommands::save_settings_cmd(SettingMgr& mgr, sys::FileSelectorInterface& selector,
                                       sys::MessageBoxInterface& box)
{
    return sys::FileCommand::save(selector, box, "Save Setting File",
                                  "Can't save configuration file\n",
                                  remembering(mgr, &SettingMgr::save));
}

int SettingCommands::load_settings_cmd(SettingMgr& mgr, sys::FileSelectorInterface& selector,
                                       sys::MessageBoxInterface& box)
{
    return sys::FileCommand::load(selector, box, "Load Setting File",
                                  "Can't load configuration file\n",
                                  remembering(mgr, &SettingMgr::load));
}

} // namespace plux
