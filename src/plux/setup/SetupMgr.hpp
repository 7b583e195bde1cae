#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "plux/midi/MidiAutoBindMgr.hpp"
#include "plux/setup/SetupListeners.hpp"
#include "plux/setup/WebSiteJumpInterface.hpp"
#include "ravik/MenuNodes.hpp"
#include "sys/FileSelector.hpp"
#include "sys/SimpleMessageBox.hpp"

namespace ravik
{
class ControlInterface;
}

namespace plux
{

class DspInterface;
class HostGuiInterface;

// The editor's setup menu, opened by the setup button: the About box and the maker's web pages,
// the setting files (load, save, autoload), the mouse mode, and MIDI control (auto-bind, un-bind,
// the input and output ports, the old NRPN order). The menu is built once; its labels, checks and
// enabled states are refreshed at each opening. Items that change what the host's project holds
// are disabled while the effect hides its parameters ("hide_parameters" 1).
//
// Editor thread only. The controls must outlive the manager, which takes its listeners off them
// on the way out.
class SetupMgr
{
public:
    enum Direction
    {
        dir_in = 0,
        dir_out = 1,
    };
    // Opens a web page: 0, or -1 when no browser could be started.
    using UrlOpener = std::function<int(const std::string& url)>;

    // show_web: the web items; show_nrpn_comp: the NRPN order item.
    SetupMgr(bool show_web, bool show_nrpn_comp);
    ~SetupMgr();
    SetupMgr(const SetupMgr&) = delete;
    SetupMgr& operator=(const SetupMgr&) = delete;

    // Attaches the menu to setup_button and an auto-bind listener to each parameter control
    // (position i is the DSP side's parameter i; null ones are skipped), and builds the menu.
    // 0; -1, with nothing done, when there are more controls than parameters. A second call does
    // nothing. None of them is owned.
    int init(HostGuiInterface& host, DspInterface& dsp,
             const std::vector<ravik::ControlInterface*>& param_controls,
             ravik::ControlInterface& setup_button, WebSiteJumpInterface& web);

    // Refreshes the menu and shows it at the cursor, through the setup button's window.
    void show_menu();
    void refresh();
    ravik::MenuList& use_root() { return root_; }
    MidiAutoBindMgr& use_autobind() { return autobind_; }

    // Not owned: for dialogs, boxes or a browser other than the system's.
    void set_file_selector(sys::FileSelectorInterface& selector);
    void set_message_box(sys::MessageBoxInterface& box) { box_in_use_ = &box; }
    void set_url_opener(UrlOpener opener) { open_url_ = std::move(opener); }

    // The items' actions.
    void show_about();
    void open_web_page(WebSiteJumpInterface::Kind kind);
    void load_settings();
    void save_settings();
    void toggle_autoload();
    void toggle_mouse_mode();
    void toggle_autobind();
    void unbind_selected();
    // position -1: no device. A failure is shown in the error box.
    void select_device(int direction, int position);
    void toggle_nrpn_comp();

private:
    void build();
    void refresh_settings(bool hidden);
    void refresh_midi(bool hidden);
    void refresh_devices(ravik::MenuList& menu, std::deque<ravik::MenuItem>& items,
                         std::deque<SetupMLMidiDevice>& listeners, int direction);
    // The selected parameter's name; empty when none is selected.
    std::string selected_name() const;

    const bool show_web_;
    const bool show_nrpn_comp_;
    HostGuiInterface* host_ = nullptr;
    DspInterface* dsp_ = nullptr;
    WebSiteJumpInterface* web_ = nullptr;
    ravik::ControlInterface* button_ = nullptr;
    std::vector<ravik::ControlInterface*> param_controls_;
    MidiAutoBindMgr autobind_;
    std::deque<MidiAutoBindListener> autobind_listeners_;
    SetupCtrlListener ctrl_listener_{*this};

    sys::FileSelector file_selector_;
    sys::SimpleMessageBox message_box_;
    sys::FileSelectorInterface* selector_in_use_ = &file_selector_;
    sys::MessageBoxInterface* box_in_use_ = &message_box_;
    UrlOpener open_url_;

    ravik::MenuList root_;
    ravik::MenuItem about_{"About..."};
    ravik::MenuDelimiter web_title_{"Tarvex on the web"};
    std::deque<ravik::MenuItem> web_items_;
    ravik::MenuDelimiter settings_title_{"Settings"};
    ravik::MenuItem load_{"Load..."};
    ravik::MenuItem save_{"Save..."};
    ravik::MenuItem autoload_;
    ravik::MenuItem mouse_{"Enhanced mouse mode"};
    ravik::MenuDelimiter midi_title_{"MIDI"};
    ravik::MenuItem autobind_item_;
    ravik::MenuItem unbind_item_;
    ravik::MenuList in_menu_{"Input device"};
    ravik::MenuList out_menu_{"Output device"};
    std::deque<ravik::MenuItem> in_items_;
    std::deque<ravik::MenuItem> out_items_;
    ravik::MenuItem nrpn_{"Old erroneous nrpn behaviour"};

    SetupMLAbout about_listener_{*this};
    std::deque<SetupMLWebSite> web_listeners_;
    SetupMLLoadSettings load_listener_{*this};
    SetupMLSaveSettings save_listener_{*this};
    SetupMLAutoloadSettings autoload_listener_{*this};
    SetupMLCompatibleMouse mouse_listener_{*this};
    SetupMLMidiAutoBind autobind_listener_{*this};
    SetupMLMidiUnBind unbind_listener_{*this};
    std::deque<SetupMLMidiDevice> in_listeners_;
    std::deque<SetupMLMidiDevice> out_listeners_;
    SetupMLMidiNrpnComp nrpn_listener_{*this};

    bool initialised_ = false;
};

} // namespace plux
