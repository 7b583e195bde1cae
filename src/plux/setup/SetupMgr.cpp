#include "plux/setup/SetupMgr.hpp"

#include <cstdio>
#include <exception>

#include "plux/DspInterface.hpp"
#include "plux/HostGuiInterface.hpp"
#include "plux/midi/MidiDevSelectorInterface.hpp"
#include "plux/midi/MidiMgr.hpp"
#include "plux/param/NormalizedParamInterface.hpp"
#include "plux/setting/SettingAutoload.hpp"
#include "plux/setting/SettingCommands.hpp"
#include "plux/setting/SettingMgr.hpp"
#include "plux/setup/WebSiteJump.hpp"
#include "ravik/ControlInterface.hpp"
#include "ravik/MenuMessages.hpp"
#include "ravik/widget/MouseMode.hpp"
#include "sys/ErrorBox.hpp"
#include "sys/OpenUrl.hpp"

namespace plux
{

namespace
{

// The autoload item shows at most this much of the path: its end, after "...".
constexpr std::size_t max_path_shown = 63;
constexpr std::size_t path_end_shown = 61;

// The autoload side of the setting manager, or null without one.
SettingAutoload* find_autoload(DspInterface& dsp)
{
    SettingMgr* mgr = dsp.use_setting_mgr();
    try
    {
        return mgr != nullptr ? &mgr->use_autoload() : nullptr;
    }
    catch (const std::exception&)
    {
        // A manager not yet initialised has no autoload.
        return nullptr;
    }
}

std::string build_year()
{
    // "Mmm dd yyyy".
    return std::string(__DATE__).substr(7);
}

} // namespace

SetupMgr::SetupMgr(bool show_web, bool show_nrpn_comp)
    : show_web_(show_web)
    , show_nrpn_comp_(show_nrpn_comp)
    , open_url_(sys::open_url)
{
    build();
}

SetupMgr::~SetupMgr()
{
    for (MidiAutoBindListener& listener : autobind_listeners_)
    {
        param_controls_[static_cast<std::size_t>(listener.get_param())]->remove_listener(&listener);
    }
    if (button_ != nullptr)
    {
        button_->remove_listener(&ctrl_listener_);
    }
}

void SetupMgr::build()
{
    root_.append(about_);
    about_.set_listener(&about_listener_);
    if (show_web_)
    {
        root_.append(web_title_);
        const struct
        {
            WebSiteJumpInterface::Kind kind;
            const char* label;
        } pages[] = {{WebSiteJumpInterface::product_info, "Product info..."},
                     {WebSiteJumpInterface::updates, "Updates..."},
                     {WebSiteJumpInterface::documentation, "Documentation..."},
                     {WebSiteJumpInterface::presets, "Presets..."}};
        for (const auto& page : pages)
        {
            web_listeners_.emplace_back(*this, page.kind);
            web_items_.emplace_back(page.label).set_listener(&web_listeners_.back());
            root_.append(web_items_.back());
        }
    }
    root_.append(settings_title_);
    const std::pair<ravik::MenuItem*, ravik::MenuListenerInterface*> items[] = {
        {&load_, &load_listener_},
        {&save_, &save_listener_},
        {&autoload_, &autoload_listener_},
        {&mouse_, &mouse_listener_},
        {nullptr, nullptr},
        {&autobind_item_, &autobind_listener_},
        {&unbind_item_, &unbind_listener_}};
    for (const auto& [item, listener] : items)
    {
        if (item == nullptr)
        {
            root_.append(midi_title_);
            continue;
        }
        item->set_listener(listener);
        root_.append(*item);
    }
    root_.append(in_menu_);
    root_.append(out_menu_);
    if (show_nrpn_comp_)
    {
        nrpn_.set_listener(&nrpn_listener_);
        root_.append(nrpn_);
    }
}

int SetupMgr::init(HostGuiInterface& host, DspInterface& dsp,
                   const std::vector<ravik::ControlInterface*>& param_controls,
                   ravik::ControlInterface& setup_button, WebSiteJumpInterface& web)
{
    if (initialised_)
    {
        return 0;
    }
    if (static_cast<int>(param_controls.size()) > dsp.get_nbr_param())
    {
        return -1;
    }
    host_ = &host;
    dsp_ = &dsp;
    web_ = &web;
    button_ = &setup_button;
    param_controls_ = param_controls;
    autobind_.init(host.use_midi_mgr());
    for (std::size_t i = 0; i < param_controls.size(); ++i)
    {
        if (param_controls[i] != nullptr)
        {
            autobind_listeners_.emplace_back(autobind_, static_cast<int>(i));
            param_controls[i]->push_back_listener(&autobind_listeners_.back());
        }
    }
    setup_button.push_back_listener(&ctrl_listener_);
    SettingCommands::setup_file_selector(*selector_in_use_);
    initialised_ = true;
    refresh();
    return 0;
}

void SetupMgr::set_file_selector(sys::FileSelectorInterface& selector)
{
    selector_in_use_ = &selector;
    SettingCommands::setup_file_selector(selector);
}

void SetupMgr::show_menu()
{
    if (!initialised_)
    {
        return;
    }
    refresh();
    ravik::MenuRequest request(root_);
    button_->process_message(request);
}

void SetupMgr::refresh()
{
    if (!initialised_)
    {
        return;
    }
    const bool hidden = dsp_->get_info_num("hide_parameters") == 1.0;
    refresh_settings(hidden);
    refresh_midi(hidden);
}

void SetupMgr::refresh_settings(bool hidden)
{
    SettingAutoload* autoload = find_autoload(*dsp_);
    std::string path;
    if (autoload != nullptr)
    {
        autoload->get_latest_config_file(path);
    }
    if (path.size() > max_path_shown)
    {
        path = "..." + path.substr(path.size() - path_end_shown);
    }
    autoload_.set_label("Autoload [" + (path.empty() ? std::string("Undefined") : path) + "]");
    autoload_.set_checked(autoload != nullptr && autoload->is_autoload());
    for (ravik::MenuItem* item : {&load_, &save_, &autoload_})
    {
        item->set_disabled(hidden || autoload == nullptr);
    }
    mouse_.set_checked(!ravik::MouseMode::is_compatible());
}

std::string SetupMgr::selected_name() const
{
    const int param = autobind_.get_selected_param();
    if (param < 0 || param >= dsp_->get_nbr_param())
    {
        return {};
    }
    char name[128];
    dsp_->use_param(param).get_name(name, sizeof(name));
    return name;
}

void SetupMgr::refresh_midi(bool hidden)
{
    MidiMgr* midi = host_->use_midi_mgr();
    const int param = autobind_.get_selected_param();
    const std::string name = selected_name();
    const bool armed = autobind_.is_armed();

    std::string label = "Auto-bind";
    if (param >= 0)
    {
        label += " [target : " + name + "]";
    }
    else if (armed)
    {
        label += " [now select a parameter]";
    }
    autobind_item_.set_label(label);
    autobind_item_.set_checked(armed);
    autobind_item_.set_disabled(hidden || midi == nullptr);

    label = "Un-bind";
    bool bound = false;
    if (param < 0)
    {
        label += " [no parameter selected]";
    }
    else
    {
        int ctrl_id = -1;
        std::string state = " (error)";
        if (midi != nullptr && !midi->is_param_bound(param))
        {
            state = " (not binded)";
        }
        else if (midi != nullptr && midi->get_ctrl_for_param(param, ctrl_id))
        {
            state = " (" + MidiMgr::ctrl_to_text(ctrl_id) + ")";
            bound = true;
        }
        label += " [" + name + state + "]";
    }
    unbind_item_.set_label(label);
    unbind_item_.set_disabled(hidden || !bound);

    refresh_devices(in_menu_, in_items_, in_listeners_, dir_in);
    refresh_devices(out_menu_, out_items_, out_listeners_, dir_out);
    nrpn_.set_checked(midi != nullptr && midi->use_reg_settings().get_nrpn_compat() == 0);
    nrpn_.set_disabled(midi == nullptr);
}

void SetupMgr::refresh_devices(ravik::MenuList& menu, std::deque<ravik::MenuItem>& items,
                               std::deque<SetupMLMidiDevice>& listeners, int direction)
{
    menu.clear();
    MidiDevSelectorInterface* devices =
        host_->use_midi_mgr() != nullptr ? host_->use_midi_dev_selector() : nullptr;
    if (devices == nullptr)
    {
        return;
    }
    const bool in = direction == dir_in;
    const int count = in ? devices->get_nbr_in() : devices->get_nbr_out();
    const int current = in ? devices->get_in_index() : devices->get_out_index();
    while (static_cast<int>(items.size()) <= count)
    {
        listeners.emplace_back(*this, direction, static_cast<int>(items.size()) - 1);
        items.emplace_back().set_listener(&listeners.back());
    }
    for (int position = -1; position < count; ++position)
    {
        ravik::MenuItem& item = items[static_cast<std::size_t>(position + 1)];
        item.set_label(position < 0 ? "None"
                       : in         ? devices->get_in_name(position)
                                    : devices->get_out_name(position));
        item.set_checked(position == current);
        menu.append(item);
    }
}

void SetupMgr::show_about()
{
    if (!initialised_)
    {
        return;
    }
    char version[64];
    std::snprintf(version, sizeof(version), "\nVersion  %.2lf.%ld\n\n",
                  dsp_->get_info_num("plugin_version"),
                  static_cast<long>(dsp_->get_info_num("build_number")));
    const std::string text = dsp_->get_info_str("plugin_name") + version + "(c) " + build_year() +
                             " " + dsp_->get_info_str("manufacturer") + "\n" + WebSiteJump::site;
    box_in_use_->show(host_->get_info_str("interface_info"), text,
                      sys::MessageBoxInterface::buttons_ok, 0);
}

void SetupMgr::open_web_page(WebSiteJumpInterface::Kind kind)
{
    if (initialised_)
    {
        open_url_(web_->build_url(kind));
    }
}

void SetupMgr::load_settings()
{
    if (SettingMgr* mgr = initialised_ ? dsp_->use_setting_mgr() : nullptr)
    {
        SettingCommands::load_settings_cmd(*mgr, *selector_in_use_, *box_in_use_);
    }
}

void SetupMgr::save_settings()
{
    if (SettingMgr* mgr = initialised_ ? dsp_->use_setting_mgr() : nullptr)
    {
        SettingCommands::save_settings_cmd(*mgr, *selector_in_use_, *box_in_use_);
    }
}

void SetupMgr::toggle_autoload()
{
    if (SettingAutoload* autoload = initialised_ ? find_autoload(*dsp_) : nullptr)
    {
        autoload->set_autoload(!autoload->is_autoload());
    }
}

void SetupMgr::toggle_mouse_mode()
{
    ravik::MouseMode::set_compatible(!ravik::MouseMode::is_compatible());
}

void SetupMgr::toggle_autobind()
{
    autobind_.toggle_armed();
}

void SetupMgr::unbind_selected()
{
    MidiMgr* midi = initialised_ ? host_->use_midi_mgr() : nullptr;
    if (midi != nullptr && autobind_.get_selected_param() >= 0)
    {
        midi->unbind_param(autobind_.get_selected_param());
    }
}

void SetupMgr::select_device(int direction, int position)
{
    MidiDevSelectorInterface* devices = initialised_ ? host_->use_midi_dev_selector() : nullptr;
    if (devices == nullptr)
    {
        return;
    }
    const int code =
        direction == dir_in ? devices->select_in(position) : devices->select_out(position);
    if (code != 0)
    {
        sys::show_error_box(*box_in_use_, "Can't change MIDI device.\n", code);
    }
}

void SetupMgr::toggle_nrpn_comp()
{
    if (MidiMgr* midi = initialised_ ? host_->use_midi_mgr() : nullptr)
    {
        midi->use_reg_settings().set_nrpn_compat(nrpn_.is_checked() ? 1 : 0);
        nrpn_.set_checked(!nrpn_.is_checked());
    }
}

} // namespace plux
