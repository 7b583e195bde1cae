#include "plux/setting/SettingCommands.hpp"

#include <string>

#include "basic/FileWriter.hpp"
#include "kel/txt/out/ArgInt.hpp"
#include "kel/txt/out/PrintNa.hpp"
#include "plux/setting/SettingAutoload.hpp"
#include "plux/setting/SettingMgr.hpp"
#include "sys/FileSelectorInterface.hpp"
#include "sys/MessageBoxInterface.hpp"

namespace plux
{

namespace
{

constexpr const char* file_ext = "cfg.txt";

void show_error(sys::MessageBoxInterface& box, const char* what, const std::string& path, int code)
{
    char code_text[32];
    kel::txt::out::PrintNa code_line(code_text);
    code_line.print("\n\nCode %1%", kel::txt::out::ArgInt(code));
    box.show("Error", what + path + std::string(code_line.view()),
             sys::MessageBoxInterface::buttons_ok, 0);
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
    selector.set_title("Save Setting File");
    int code = selector.select_save();
    if (code == sys::FileSelectorInterface::res_cancelled)
    {
        return res_stopped;
    }
    const std::string path = selector.get_path();
    if (code == sys::FileSelectorInterface::res_chosen)
    {
        if (basic::is_existing_file(path) &&
            box.show("Conflict", path + "\nalready exists. Overwrite ?",
                     sys::MessageBoxInterface::buttons_ok_cancel,
                     1) != sys::MessageBoxInterface::res_ok)
        {
            return res_stopped;
        }
        code = mgr.save(path);
        if (code == 0)
        {
            // Failing to remember the file costs only the autoload; nothing to tell the user.
            mgr.use_autoload().set_latest_config_file(path);
            return res_done;
        }
    }
    show_error(box, "Can't save configuration file\n", path, code);
    return code;
}

int SettingCommands::load_settings_cmd(SettingMgr& mgr, sys::FileSelectorInterface& selector,
                                       sys::MessageBoxInterface& box)
{
    selector.set_title("Load Setting File");
    int code = selector.select_load();
    if (code == sys::FileSelectorInterface::res_cancelled)
    {
        return res_stopped;
    }
    const std::string path = selector.get_path();
    if (code == sys::FileSelectorInterface::res_chosen)
    {
        code = mgr.load(path);
        if (code == 0)
        {
            mgr.use_autoload().set_latest_config_file(path);
            return res_done;
        }
    }
    show_error(box, "Can't load configuration file\n", path, code);
    return code;
}

} // namespace plux
