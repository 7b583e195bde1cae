#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "effect/EngineRig.hpp"
#include "effect/gui/VantrelGui.hpp"
#include "plux/HostGuiInterface.hpp"
#include "ravik/WindowOffscreen.hpp"
#include "sys/ManualClock.hpp"

// The editor side's host adapter reduced to the parameter road: changes reach the parameters,
// and are counted.
class FakeHostGui : public plux::HostGuiInterface
{
public:
    explicit FakeHostGui(plux::DspInterface& dsp)
        : dsp_(dsp)
    {
    }
    double get_info_num(const std::string&) override { return 0.0; }
    std::string get_info_str(const std::string&) override { return {}; }
    bool can_take(int, int) override { return true; }
    bool take(int, int) override { return true; }
    void release(int, int) override {}
    bool set_param_and_notify(int index, float value, int) override
    {
        dsp_.use_param(index).set_nrm_and_notify(value);
        ++changes;
        return true;
    }
    int apply_prog(const plux::ProgramSlot&, int) override { return 0; }
    void write_bank(const plux::BankManager&) override {}
    int resize_window(int, int) override { return 0; }
    std::string get_settings_folder() override { return {}; }
    plux::MidiMgr* use_midi_mgr() override { return nullptr; }
    plux::MidiDevSelectorInterface* use_midi_dev_selector() override { return nullptr; }

    std::atomic<int> changes{0};

private:
    plux::DspInterface& dsp_;
};

// Builds gui as the frame does when the host opens the editor, and paints it once.
inline void open_editor(VantrelGui& gui, plux::HostGuiInterface& host, plux::DspInterface& dsp,
                        ravik::WindowOffscreen& window)
{
    gui.set_host(&host);
    gui.set_dsp(&dsp);
    gui.set_window(&window);
    gui.init();
    gui.set_default_state();
    gui.open(nullptr);
    window.paint();
}

// The editor built on the real engine, open in an offscreen window under the test clock.
struct GuiRig
{
    test::ManualClock clock;
    EngineRig engine;
    FakeHostGui host{*engine.dsp};
    ravik::WindowOffscreen window{{VantrelGui::width, VantrelGui::height}};
    std::unique_ptr<VantrelGui> gui = std::make_unique<VantrelGui>();

    GuiRig() { open_editor(*gui, host, *engine.dsp, window); }
    ~GuiRig() { gui->close(); }

    void wait(double seconds)
    {
        for (double t = 0.0; t < seconds - 1e-9; t += 0.003)
        {
            clock.advance(0.003);
            window.tick();
        }
    }
    ravik::TextBox& box(int index) { return *gui->use_main().use_box(index); }
    // Clicks into a value box and types text, ending with Enter.
    void type_into(int index, const std::string& text)
    {
        const ravik::Point at = box(index).get_abs_position();
        window.press({at.x, at.y + 6});
        window.release({at.x, at.y + 6});
        window.use_text_editor().type(text);
        window.use_text_editor().press_enter();
    }
    double cutoff_hz() { return engine.dsp->use_param(0).get_val(); }
};
