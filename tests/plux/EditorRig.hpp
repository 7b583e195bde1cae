#pragma once

#include <memory>

// What the editor's services meet around them in tests: a DSP side with the effect's eight
// parameter names and steps, the editor's host adapter, and an offscreen window under the test
// clock.
#include <string>
#include <vector>

#include "plux/HostGuiInterface.hpp"
#include "plux/param/PluginInternal.hpp"
#include "plux/prog/BankManager.hpp"
#include "plux/setting/SettingDspMixin.hpp"
#include "ravik/CtrlGroupNodes.hpp"
#include "ravik/FontInterface.hpp"
#include "ravik/MenuNodes.hpp"
#include "ravik/WindowOffscreen.hpp"
#include "sys/ManualClock.hpp"

namespace test
{

// "Nbr Bands" (1 to 16) and "Dist Routing" (0 or 1) are stepped. Its maker is a registry key of
// the running test, so that setting files and autoload values stay in the sandbox.
class PanelDsp final : public plux::PluginInternal, public plux::SettingDspMixin
{
public:
    static constexpr int nbr_bands = 2;
    static constexpr int dist_routing = 4;

    PanelDsp();

    int init() override { return 0; }
    void start() override {}
    void stop() override {}
    plux::HostDspInterface* get_host() const override { return nullptr; }
    void set_host(plux::HostDspInterface*) override {}
    plux::GuiInterface* get_gui() const override { return nullptr; }
    void set_gui(plux::GuiInterface*) override {}
    int get_nbr_in_buses() const override { return 1; }
    const plux::BusInfo& use_in_bus(int) const override { return bus_; }
    int get_nbr_out_buses() const override { return 1; }
    const plux::BusInfo& use_out_bus(int) const override { return bus_; }
    double get_min_sample_rate() const override { return 4000.0; }
    double get_max_sample_rate() const override { return 384000.0; }
    void set_sample_rate(float) override {}
    void set_prog_name(const std::string& name) override { prog_name = name; }
    std::string get_prog_name() const override { return prog_name; }
    double get_info_num(const std::string& key) const override;
    std::string get_info_str(const std::string& key) const override;
    void clear_buffers() override {}
    void load_prog(const std::vector<float>& values) override;
    void save_prog(std::vector<float>& values) const override { copy_values(values); }
    int process(float**, float**, int, int flag) noexcept override { return flag; }
    int process_adding(float**, float**, int, int flag) noexcept override { return flag; }

    std::vector<float> values() const;

    std::string prog_name = "Start sound";
    double hide_parameters = 0.0;
    std::string manufacturer;

private:
    plux::BusInfo bus_{"Main", {"Left", "Right"}};
};

// The editor's host adapter as the frame answers it, reduced to what the services use: a program
// applied goes into the DSP side and is recorded, banks written are counted.
class FakeHostGui final : public plux::HostGuiInterface
{
public:
    struct Applied
    {
        std::vector<float> values;
        std::string name;
        int priority;
    };

    explicit FakeHostGui(plux::DspInterface& dsp)
        : dsp_(dsp)
    {
    }

    double get_info_num(const std::string&) override { return 0.0; }
    std::string get_info_str(const std::string& key) override
    {
        return key == "interface_info" ? "VST is a trademark of Steinberg Media AG." : "";
    }
    bool can_take(int, int) override { return true; }
    bool take(int, int) override { return true; }
    void release(int, int) override {}
    bool set_param_and_notify(int, float, int) override { return true; }
    int apply_prog(const plux::ProgramSlot& prog, int priority) override;
    void write_bank(const plux::BankManager& bank) override;
    int resize_window(int, int) override { return 0; }
    std::string get_settings_folder() override { return {}; }
    plux::MidiMgr* use_midi_mgr() override { return midi; }
    plux::MidiDevSelectorInterface* use_midi_dev_selector() override { return dev_selector; }

    std::vector<Applied> applied;
    int nbr_banks_written = 0;
    plux::BankManager last_bank;
    plux::MidiMgr* midi = nullptr;
    plux::MidiDevSelectorInterface* dev_selector = nullptr;

private:
    plux::DspInterface& dsp_;
};

// The lines of a menu as the user reads them: each label, with " [x]" when checked and " (off)"
// when disabled, and after a submenu its lines behind "> ".
std::vector<std::string> menu_lines(const ravik::MenuList& menu);

// An open offscreen window with one group of controls; time passes only when the test says.
class EditorRig
{
public:
    EditorRig();
    ~EditorRig() { window.close(); }
    EditorRig(const EditorRig&) = delete;
    EditorRig& operator=(const EditorRig&) = delete;

    void add(ravik::ControlInterface& control) { root.add_control(control); }
    // A press and release, as a click.
    void click(const ravik::Point& pos);
    // Lets time pass in steps, the window polling its timers after each.
    void wait(double seconds, double step = 0.01);

    ManualClock clock;
    // The editor's font draws the pop-up menus and text fields.
    std::unique_ptr<ravik::FontInterface> font;
    ravik::WindowOffscreen window{{300, 335}};
    ravik::CtrlGroupItem root;
};

} // namespace test
