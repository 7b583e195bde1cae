#pragma once

#include <array>
#include <memory>

#include "effect/gui/VanGuiPart.hpp"

namespace plux
{
class PresetManager;
}
#include "ravik/CtrlGroupNodes.hpp"
#include "ravik/widget/Fader.hpp"
#include "ravik/widget/StateButton.hpp"
#include "ravik/widget/TextBox.hpp"

// The preset panel: the preset number buttons, the store/load switch, the two bank buttons, the
// morph time fader and display, and the setup button.
class VanGuiPreset : public VanGuiPart
{
public:
    static constexpr int nbr_presets = 8;

    VanGuiPreset();
    ~VanGuiPreset() override;

    void init();
    void build(ravik::CtrlGroupItem& group);
    // Once both panels are built: the setup menu reaches the parameter controls.
    void setup_menu();
    void bank_written();
    void setup_changed();
    const plux::PresetManager& use_presets() const;

    ravik::PushButton& use_number(int index)
    {
        return numbers_.at(static_cast<std::size_t>(index));
    }
    ravik::FlipFlop& use_mem_mode() { return mem_mode_; }
    ravik::PushButton& use_load_bank() { return load_bank_; }
    ravik::PushButton& use_save_bank() { return save_bank_; }
    ravik::Fader& use_time_fader() { return time_fader_; }
    ravik::TextBox& use_time_display() { return time_display_; }
    ravik::PushButton& use_setup_button() { return setup_button_; }

private:
    struct Services;

    std::array<ravik::PushButton, nbr_presets> numbers_;
    ravik::FlipFlop mem_mode_;
    ravik::PushButton load_bank_;
    ravik::PushButton save_bank_;
    ravik::Fader time_fader_;
    ravik::TextBox time_display_;
    ravik::PushButton setup_button_;
    std::unique_ptr<Services> services_;
};
