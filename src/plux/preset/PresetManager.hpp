#pragma once

#include <string>
#include <vector>

#include "plux/preset/PresetListeners.hpp"
#include "plux/preset/PresetSelectorListener.hpp"
#include "plux/prog/BankManager.hpp"
#include "plux/prog/ProgramSlot.hpp"
#include "sys/FileSelector.hpp"
#include "sys/SimpleMessageBox.hpp"

namespace ravik
{
class ControlInterface;
class TextBox;
} // namespace ravik

namespace plux
{

class DspInterface;
class HostGuiInterface;
class ProgStLdInterface;

// The editor's preset controls. Null ones are left out.
struct PresetControls
{
    // One per preset, in order (ravik::PushButton: a press selects).
    std::vector<ravik::ControlInterface*> numbers;
    // The store/load switch (ravik::FlipFlop: 1 stores with the next selection).
    ravik::ControlInterface* mem_mode = nullptr;
    // ravik::PushButton each.
    ravik::ControlInterface* load_bank = nullptr;
    ravik::ControlInterface* save_bank = nullptr;
    // ravik::Fader: the morph time.
    ravik::ControlInterface* time_fader = nullptr;
    ravik::TextBox* time_display = nullptr;
};

// The editor's preset memory, apart from the host's programs: the user recalls a preset with a
// number button or the preset menu, stores the current sound into one, renames the current one in
// the name box, and loads or saves the memory as a bank file. A recall glides from the current
// sound to the preset over the morph time, on the window's timers, with the priority of a morph
// (stepped parameters jump at the first step). Each change of the memory goes to the plug-in
// (write_bank).
//
// Editor thread only. The controls, and the window they live in, must outlive the manager: on
// the way out it stops its timers and takes its listeners off the controls.
class PresetManager
{
public:
    static constexpr int prio_morph = 140;
    // Values the manager forces onto its controls.
    static constexpr int origin_forced = 255;

    explicit PresetManager(int nbr_presets = 8);
    ~PresetManager();
    PresetManager(const PresetManager&) = delete;
    PresetManager& operator=(const PresetManager&) = delete;

    // Fills the memory with the current sound, then with the bank resource of type "QBNK" and
    // that name as far as it goes, and attaches the listeners to the controls. 0; -1, with
    // nothing done, when the number buttons are not one per preset. A second call does nothing.
    // None of the three is owned.
    int init(HostGuiInterface& host, DspInterface& dsp, ProgStLdInterface& interpolator,
             const PresetControls& controls, const std::string& resource_name);

    // Listeners that the editor may attach to further controls: a control that opens the preset
    // menu (ravik::PushButton, or a ravik::TextBox that is not editable) and the name box (an
    // editable ravik::TextBox). Set the display's format before init().
    PresetSelectorListener& use_selector_listener() { return selector_; }
    PresetNameTbListener& use_name_listener() { return name_; }
    PresetTimeDisplayListener& use_time_display_listener() { return time_display_; }

    // The dialog of the bank files; the editor starts it in the settings folder with set_path().
    sys::FileSelectorInterface& use_file_selector() { return *selector_in_use_; }
    // Not owned: for a dialog or box other than the system's.
    void set_file_selector(sys::FileSelectorInterface& selector);
    void set_message_box(sys::MessageBoxInterface& box) { box_in_use_ = &box; }

    int get_nbr_presets() const { return numbers_.size(); }
    // -1 until a preset is selected.
    int get_current() const { return current_; }
    const BankManager& use_bank() const { return bank_; }
    double get_morph_time() const { return time_fader_.get_morph_time(); }
    // Moves the fader and the display there.
    void set_morph_time(double seconds);
    bool is_store_mode() const { return mem_.is_store_mode(); }

    // What the listeners ask for. select() stores in store mode, then goes back to load mode;
    // in load mode it recalls through by, whose control carries the morph's timer. Either way
    // the preset becomes current and the name box shows its name.
    void select(int index, PresetSelectionListenerBase& by);
    void store(int index);
    void recall(int index, PresetSelectionListenerBase& by);
    // The current preset and the current program take the name.
    void rename(const std::string& name);
    // The dialog commands; their results are BankFileCommands'.
    int load_bank_file();
    int save_bank_file();
    // One step of a morph: the program at t, named like to, applied with the morph's priority.
    void apply_morph(const ProgramSlot& from, const ProgramSlot& to, double t);
    void show_morph_time();

private:
    // The DSP side's current name and values.
    ProgramSlot capture() const;
    void stop_morphs();
    void fill_from_resource(const std::string& resource_name);
    std::vector<ravik::EventListenerInterface*> listeners();

    PresetMemListener mem_{*this};
    PresetSelectorListener selector_{*this};
    PresetNameTbListener name_{*this};
    PresetTimeDisplayListener time_display_{*this};
    PresetTimeFaderListener time_fader_{*this};
    PresetLoadBankListener load_bank_{*this};
    PresetSaveBankListener save_bank_{*this};
    BankManager bank_;
    ProgStLdInterface* interpolator_ = nullptr;
    PresetListenerRefList numbers_;
    HostGuiInterface* host_ = nullptr;
    DspInterface* dsp_ = nullptr;
    sys::FileSelector file_selector_;
    sys::SimpleMessageBox message_box_;
    sys::FileSelectorInterface* selector_in_use_ = &file_selector_;
    sys::MessageBoxInterface* box_in_use_ = &message_box_;
    int current_ = -1;
    bool initialised_ = false;
};

} // namespace plux
