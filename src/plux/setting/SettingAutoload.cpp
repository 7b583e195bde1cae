#include "plux/setting/SettingAutoload.hpp"

#include <exception>

#include "kel/txt/out/ArgInt.hpp"
#include "kel/txt/out/ArgString.hpp"
#include "kel/txt/out/PrintNa.hpp"
#include "plux/setting/SettingMgr.hpp"
#include "sys/DebugOutput.hpp"
#include "sys/PersistentKeyList.hpp"

namespace plux
{

SettingAutoload::SettingAutoload(SettingMgr& mgr_, const std::string& reg_path_)
    : mgr(mgr_)
    , reg_path(reg_path_)
{
}

int SettingAutoload::read_value(const char* name, std::string& value) const
{
    value.clear();
    try
    {
        const sys::PersistentKeyList key(make_key_path(), true);
        return key.get_string(name, value);
    }
    catch (const std::exception&)
    {
        return -1;
    }
}

int SettingAutoload::write_value(const char* name, const std::string& value)
{
    try
    {
        sys::PersistentKeyList key(make_key_path(), true);
        return key.set_string(name, value);
    }
    catch (const std::exception&)
    {
        return -1;
    }
}

int SettingAutoload::get_latest_config_file(std::string& path) const
{
    // An empty record names no file.
    if (read_value(file_value_name, path) != 0 || path.empty())
    {
        path.clear();
        return -1;
    }
    return 0;
}

int SettingAutoload::set_latest_config_file(const std::string& path)
{
    return write_value(file_value_name, path);
}

bool SettingAutoload::has_latest_config_file() const
{
    std::string path;
    return get_latest_config_file(path) == 0;
}

bool SettingAutoload::is_autoload() const
{
    std::string flag;
    return read_value(autoload_value_name, flag) == 0 && !flag.empty() && flag[0] != '0';
}

int SettingAutoload::set_autoload(bool flag)
{
    return write_value(autoload_value_name, flag ? "1" : "0");
}

int SettingAutoload::autoload()
{
    std::string path;
    if (!is_autoload() || get_latest_config_file(path) != 0)
    {
        return 0;
    }
    const int code = mgr.load(path);
    if (code != 0)
    {
        char text[2048];
        kel::txt::out::PrintNa line(text);
        line.print("plux::SettingAutoload::autoload(): loading %1% failed with code %2%.\n",
                   kel::txt::out::ArgString(path), kel::txt::out::ArgInt(code));
        sys::debug_output(line.view());
    }
    return code;
}

} // namespace plux
