#pragma once

#include <string>

namespace plux
{

// The per-user switches kept in the registry beside the setting files, shared by every instance
// of the maker's plug-ins in every host: the mouse mode and the auto-bind mode under the maker's
// key, the NRPN compatibility under the product's key. Each is 0 or 1. A missing or invalid value
// reads as its default, which is then written back; registry failures never reach the user, the
// default simply stays in force. User-interface thread, or the thread that starts the plug-in.
class RegSettings
{
public:
    static constexpr int def_mouse_compat = 0;
    static constexpr int def_nrpn_compat = 1;
    static constexpr int def_autobind_mode = 1;

    // maker is the maker's key below "Software" ("Tarvex"), product the product's name
    // ("Morvane"), whose key is below the maker's.
    RegSettings(const std::string& maker, const std::string& product);

    // "MouseCompatibility": 1 compatible mouse mode, 0 enhanced. Stored as a decimal integer.
    int read_mouse_compat();
    // "NRPN Compatibility": 0 selects the old erroneous NRPN order.
    int read_nrpn_compat();
    // "Autobind Mode": 1 keeps auto-bind armed after a binding, 0 disarms it.
    int read_autobind_mode();

    // Store 1 for any non-zero value, else 0. Return 0, or -1 when the registry refused it.
    int write_mouse_compat(int value);
    int write_nrpn_compat(int value);
    int write_autobind_mode(int value);

    const std::string& get_maker_path() const { return maker_path; }
    const std::string& get_product_path() const { return product_path; }

private:
    // How a stored value is read: exactly "0" or "1", or a decimal integer as "%d" reads it.
    enum class Syntax
    {
        exact,
        decimal
    };

    static int read_flag(const std::string& key_path, const char* name, int def, Syntax syntax);
    static int write_flag(const std::string& key_path, const char* name, int value);

    std::string maker_path;
    std::string product_path;
};

} // namespace plux
