#include "plux/setting/RegSettings.hpp"

#include <cstdlib>
#include <exception>

#include "sys/PersistentKeyList.hpp"

namespace plux
{

namespace
{

constexpr const char* mouse_compat_name = "MouseCompatibility";
constexpr const char* nrpn_compat_name = "NRPN Compatibility";
constexpr const char* autobind_mode_name = "Autobind Mode";

// What "%d" reads: optional blanks and sign, then at least one digit; the rest is ignored.
bool parse_decimal(const std::string& text, int& value)
{
    const char* start = text.c_str();
    char* end = nullptr;
    const long read = std::strtol(start, &end, 10);
    if (end == start || read < -2147483647L - 1 || read > 2147483647L)
    {
        return false;
    }
    value = static_cast<int>(read);
    return true;
}

} // namespace

RegSettings::RegSettings(const std::string& maker, const std::string& product)
    : maker_path(maker)
    , product_path(maker + "/" + product)
{
}

int RegSettings::read_mouse_compat()
{
    return read_flag(maker_path, mouse_compat_name, def_mouse_compat, Syntax::decimal);
}

int RegSettings::read_nrpn_compat()
{
    return read_flag(product_path, nrpn_compat_name, def_nrpn_compat, Syntax::exact);
}

int RegSettings::read_autobind_mode()
{
    return read_flag(maker_path, autobind_mode_name, def_autobind_mode, Syntax::exact);
}

int RegSettings::write_mouse_compat(int value)
{
    return write_flag(maker_path, mouse_compat_name, value);
}

int RegSettings::write_nrpn_compat(int value)
{
    return write_flag(product_path, nrpn_compat_name, value);
}

int RegSettings::write_autobind_mode(int value)
{
    return write_flag(maker_path, autobind_mode_name, value);
}

int RegSettings::read_flag(const std::string& key_path, const char* name, int def, Syntax syntax)
{
    try
    {
        sys::PersistentKeyList key(key_path, true);
        std::string text;
        if (key.get_string(name, text) == 0)
        {
            int value = -1;
            if (syntax == Syntax::exact)
            {
                value = text == "0" ? 0 : text == "1" ? 1 : -1;
            }
            else if (!parse_decimal(text, value))
            {
                value = -1;
            }
            if (value == 0 || value == 1)
            {
                return value;
            }
        }
        key.set_string(name, def != 0 ? "1" : "0");
    }
    catch (const std::exception&)
    {
        // No registry: the default stays in force.
    }
    return def;
}

int RegSettings::write_flag(const std::string& key_path, const char* name, int value)
{
    try
    {
        sys::PersistentKeyList key(key_path, true);
        return key.set_string(name, value != 0 ? "1" : "0");
    }
    catch (const std::exception&)
    {
        return -1;
    }
}

} // namespace plux
