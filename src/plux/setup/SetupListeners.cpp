#include "plux/setup/SetupListeners.hpp"

#include "plux/setup/SetupMgr.hpp"

namespace plux
{

void SetupCtrlListener::notify(int code, void* /*data*/)
{
    if (code == 0)
    {
        mgr_.show_menu();
    }
}

void SetupMLAbout::on_select()
{
    mgr_.show_about();
}

void SetupMLWebSite::on_select()
{
    mgr_.open_web_page(kind_);
}

void SetupMLLoadSettings::on_select()
{
    mgr_.load_settings();
}

void SetupMLSaveSettings::on_select()
{
    mgr_.save_settings();
}

void SetupMLAutoloadSettings::on_select()
{
    mgr_.toggle_autoload();
}

void SetupMLCompatibleMouse::on_select()
{
    mgr_.toggle_mouse_mode();
}

void SetupMLMidiAutoBind::on_select()
{
    mgr_.toggle_autobind();
}

void SetupMLMidiUnBind::on_select()
{
    mgr_.unbind_selected();
}

void SetupMLMidiDevice::on_select()
{
    mgr_.select_device(direction_, position_);
}

void SetupMLMidiNrpnComp::on_select()
{
    mgr_.toggle_nrpn_comp();
}

} // namespace plux
