#pragma once

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "effect/gui/GuiPictures.hpp"
#include "effect/gui/VanGuiMain.hpp"
#include "effect/gui/VanGuiPreset.hpp"
#include "plux/GuiInterface.hpp"
#include "plux/GuiSetupInterface.hpp"
#include "plux/param/MetaControl.hpp"
#include "plux/param/ParamMailbox.hpp"
#include "ravik/BackgroundNodes.hpp"
#include "ravik/CtrlGroupNodes.hpp"

// The effect's editor: a window of 300 x 335 pixels drawn from pictures, with the main panel (one
// control per parameter) and the preset panel. It keeps no values of its own: controls show the
// parameters, and the user's changes take the frame's parameter road.
//
// Threads: everything runs on the editor's thread (the host's user-interface thread) except
// set_param_value and set_param_mark, which the frame calls from whichever thread changed the
// parameter. Those touch the controls at once only on the editor's thread; from any other they
// land in a lock-free mailbox that the editor's timer empties.
class VantrelGui : public plux::GuiInterface, public plux::GuiSetupInterface
{
public:
    static constexpr int width = 300;
    static constexpr int height = 335;
    // How often changes from other threads reach the controls.
    static constexpr float mailbox_period = 0.03f;
    // Where the preset panel begins; its controls are placed from there.
    static constexpr int preset_panel_top = 282;

    VantrelGui();
    ~VantrelGui() override;

    void init() override;
    void set_default_state() override;
    void bank_written(const plux::BankManager& bank) override;

    plux::HostGuiInterface* get_host() const override { return host_; }
    void set_host(plux::HostGuiInterface* host) override { host_ = host; }
    plux::DspInterface* get_dsp() const override { return dsp_; }
    void set_dsp(plux::DspInterface* dsp) override;
    void set_window(ravik::WindowInterface* window) override;
    ravik::WindowInterface* get_window() const override { return window_; }

    void get_size(int& w, int& h) const override;
    void get_resizable_size(int& w, int& h) const override;
    int open(void* parent) override;
    void close() override;

    void set_param_value(int index, float value, int origin) override;
    void set_param_mark(int index, int mark) override;

    void setup_changed() override;

    // For the panels.
    const GuiPictures& use_pictures() const { return pictures_; }
    plux::MetaControl& use_meta(int index);
    int get_nbr_meta() const { return static_cast<int>(meta_.size()); }
    VanGuiMain& use_main() { return main_; }
    VanGuiPreset& use_preset() { return preset_; }
    bool is_built() const { return built_; }
    // Applies what other threads posted. Editor thread.
    void drain_mailbox();

private:
    class MailboxPump;

    bool on_editor_thread() const;
    void attach_trees();
    void apply_value(int index, float value, int origin);
    void apply_mark(int index, int mark);

    plux::HostGuiInterface* host_ = nullptr;
    plux::DspInterface* dsp_ = nullptr;
    ravik::WindowInterface* window_ = nullptr;
    ravik::BackgroundSplit background_split_{ravik::SPTreeSplit::top_to_bottom};
    ravik::BackgroundItem background_;
    // The main panel above, the preset panel in the bottom strip.
    ravik::CtrlGroupSplit control_root_{ravik::SPTreeSplit::top_to_bottom};
    ravik::CtrlGroupItem main_group_;
    ravik::CtrlGroupItem preset_group_;
    std::vector<plux::MetaControl> meta_;
    GuiPictures pictures_;
    // The main panel outlives the preset panel: the setup menu of the latter keeps listeners on
    // the former's controls until it goes.
    VanGuiMain main_;
    VanGuiPreset preset_;
    int nbr_param_ = 0;
    bool built_ = false;
    plux::ParamMailbox mailbox_;
    std::unique_ptr<MailboxPump> pump_;
    std::atomic<std::thread::id> editor_thread_{};
    std::atomic<bool> open_{false};
};
