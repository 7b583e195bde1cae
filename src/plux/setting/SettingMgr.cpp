#include "plux/setting/SettingMgr.hpp"

#include <charconv>
#include <stdexcept>

#include "basic/ConfKeyData.hpp"
#include "basic/ConfKeyMulti.hpp"
#include "plux/DspInterface.hpp"
#include "plux/setting/SettingAutoload.hpp"

namespace plux
{

SettingMgr::SettingMgr() = default;

SettingMgr::~SettingMgr() = default;

int SettingMgr::init(const DspInterface& new_info)
{
    info = &new_info;
    const std::string plugin_name = info->get_info_str("plugin_name");
    section_name = basic::ConfKeyInterface::conv_to_valid_name(plugin_name) + "_config_section";

    // Two decimals, with a '.' whatever the locale the host has set: 1.0 gives "1.00".
    char text[64];
    const std::to_chars_result res =
        std::to_chars(text, text + sizeof(text), info->get_info_num("plugin_version"),
                      std::chars_format::fixed, 2);
    version.assign(text, res.ec == std::errc{} ? res.ptr : text);

    autoload = std::make_unique<SettingAutoload>(*this, info->get_info_str("manufacturer") + "/" +
                                                            plugin_name);
    return 0;
}

SettingAutoload& SettingMgr::use_autoload()
{
    if (autoload == nullptr)
    {
        throw std::runtime_error("plux::SettingMgr::use_autoload() : Not initialized.");
    }
    return *autoload;
}

void SettingMgr::pre_load(const basic::ConfKeyMulti& root, const std::string& /*path*/, int& code)
{
    if (code == 0 && root.get_name() != section_name)
    {
        code = err_other_product;
    }
}

void SettingMgr::pre_save(basic::ConfKeyMulti& root, const std::string& /*path*/, int& code)
{
    if (code == 0)
    {
        root.set_name(section_name);
        root.set_key(basic::ConfKeyData("version", version));
    }
}

} // namespace plux
