#pragma once

#include <string>

namespace plux
{

class SettingMgr;

// Remembers the last setting file the user loaded or saved and whether to load it whenever the
// plug-in starts. Both live in the current user's registry below "<maker>/<product>/Autoload",
// shared by every instance of the plug-in in every host. Registry failures never reach the user:
// they read as "no file" and "autoload off", and a failed write is only reported by its result.
// User-interface thread, or the thread that starts the plug-in.
class SettingAutoload
{
public:
    // reg_path is the maker and product sub-path, "Tarvex/Morvane".
    SettingAutoload(SettingMgr& mgr, const std::string& reg_path);

    // 0 with the path of the last setting file; -1 with path emptied when none is recorded.
    int get_latest_config_file(std::string& path) const;
    // 0, or -1 when the registry refused the path.
    int set_latest_config_file(const std::string& path);
    bool has_latest_config_file() const;

    // Whether the recorded value is on; off when it is missing or unreadable.
    bool is_autoload() const;
    // 0, or -1 when the registry refused the value.
    int set_autoload(bool flag);

    // Loads the last setting file through the manager when autoload is on and a file is
    // recorded, and returns the load's code; otherwise does nothing and returns 0. Called once
    // while the plug-in starts, after the setting clients are registered.
    int autoload();

    const std::string& get_reg_path() const { return reg_path; }

private:
    static constexpr const char* file_value_name = "LatestConfigFile";
    static constexpr const char* autoload_value_name = "LatestConfigAutoload";

    int read_value(const char* name, std::string& value) const;
    int write_value(const char* name, const std::string& value);
    std::string make_key_path() const { return reg_path + "/Autoload/"; }

    SettingMgr& mgr;
    std::string reg_path;
};

} // namespace plux
