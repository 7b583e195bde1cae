#pragma once

#include <memory>
#include <string>

#include "basic/SettingMgrInterface.hpp"

namespace plux
{

class DspInterface;
class SettingAutoload;

// The plug-in's setting manager. Its files hold one block named after the product
// (Morvane_config_section) whose first leaf is the version of the plug-in that wrote it, then
// the keys of the clients. Built and initialised while the plug-in starts; lives as long as the
// plug-in instance. Load and save run on the user-interface thread, or on the thread that starts
// the plug-in for the autoload.
class SettingMgr final : public basic::SettingMgrInterface
{
public:
    // The root of the file does not carry this product's section name: a file of another
    // product of the maker, or no setting file at all.
    static constexpr int err_other_product = -3071;

    SettingMgr();
    ~SettingMgr() override;

    // Takes the product's name ("plugin_name"), maker ("manufacturer") and version
    // ("plugin_version") from info, which is not owned and must outlive the manager; the last
    // setting file is remembered below the registry key "<maker>/<product>". Returns 0.
    int init(const DspInterface& info);

    // Throws std::runtime_error before init().
    SettingAutoload& use_autoload();

    const std::string& get_section_name() const { return section_name; }
    const std::string& get_version() const { return version; }

protected:
    void pre_load(const basic::ConfKeyMulti& root, const std::string& path, int& code) override;
    void pre_save(basic::ConfKeyMulti& root, const std::string& path, int& code) override;

private:
    const DspInterface* info = nullptr;
    std::string section_name;
    std::string version;
    std::unique_ptr<SettingAutoload> autoload;
};

} // namespace plux
