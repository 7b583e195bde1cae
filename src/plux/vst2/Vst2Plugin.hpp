#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "basic/LockFreeBuffer.hpp"
#include "plux/DspInterface.hpp"
#include "plux/GuiInterface.hpp"
#include "plux/HostDspInterface.hpp"
#include "plux/HostGuiInterface.hpp"
#include "plux/midi/MidiDevSelDispatcher.hpp"
#include "plux/midi/MidiMgr.hpp"
#include "plux/param/ParamPriorityList.hpp"
#include "plux/param/ParamReorder.hpp"
#include "plux/param/PluginCmdInterface.hpp"
#include "plux/prog/BankManager.hpp"
#include "plux/vst2/AudioEffectX.hpp"
#include "plux/vst2/GestureState.hpp"
#include "plux/vst2/Vst2MidiDevSelComp.hpp"
#include "plux/vst2/Vst2MidiHostInterface.hpp"

namespace plux
{

class NormalizedParamInterface;

// What the entry builds and hands to the plug-in object, which owns it from then on.
struct Vst2PluginParts
{
    std::unique_ptr<DspInterface> dsp;
    std::unique_ptr<GuiInterface> gui; // may be null: no editor
    std::unique_ptr<HostDspInterface> host_dsp;
    std::unique_ptr<HostGuiInterface> host_gui;
};

// The effect as a VST 2 host sees it. It forwards almost every host request to the DSP side,
// the editor side or the programs, and is the single road of parameter changes: every source
// competes for a parameter with a priority, accepted values reach the parameter objects, and
// changes are reported to the host as automation inside begin-edit/end-edit gestures.
//
// Threads: the dispatcher runs on the host's user-interface thread, processReplacing on its audio
// thread; setParameter and the parameter road may be called from any thread. Program and chunk
// operations are serialised by a mutex that the audio thread never takes; the parameter road is
// lock-free.
class Vst2Plugin : public vst2::AudioEffectX,
                   public PluginCmdInterface,
                   public Vst2MidiHostInterface
{
public:
    // Priorities of the sources that this class drives itself.
    static constexpr int prio_host = 100;
    static constexpr int prio_program = 200;
    static constexpr int prio_end_edit_probe = 1;

    Vst2Plugin(vst2::HostCallback host, Vst2PluginParts parts, const BankManager& bank,
               vst2::VstInt32 unique_id);
    ~Vst2Plugin() override;

    // Once, after the entry has wired the sides together.
    void init();
    void start();
    void set_settings_sub_path(const std::string& path) { settings_sub_path_ = path; }
    const std::string& get_settings_sub_path() const { return settings_sub_path_; }

    DspInterface& use_dsp() { return *dsp_; }
    GuiInterface* use_gui() { return gui_.get(); }
    HostDspInterface* use_host_dsp() { return host_dsp_.get(); }
    HostGuiInterface* use_host_gui() { return host_gui_.get(); }
    ParamReorder& use_param_reorder() { return reorder_; }
    MidiMgr* use_midi_mgr() { return midi_mgr_.get(); }
    MidiDevSelDispatcher* use_midi_dispatcher() { return midi_dispatcher_.get(); }
    basic::LockFreeBuffer<BankManager>& use_bank_buffer() { return bank_buf_; }
    // A copy of the bank, current program synchronised with the parameters.
    BankManager get_bank();
    // The pin index of a bus's channel, or -1.
    int get_in_pin(int bus, int chn) const;
    int get_out_pin(int bus, int chn) const;
    bool is_in_pin_connected(int pin) { return isInputConnected(pin); }
    bool is_out_pin_connected(int pin) { return isOutputConnected(pin); }
    vst2::VstTimeInfo* get_host_time_info(vst2::VstInt32 filter) { return getTimeInfo(filter); }
    vst2::VstIntPtr call_host(vst2::VstInt32 opcode, vst2::VstInt32 index = 0,
                              vst2::VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f)
    {
        return callHost(opcode, index, value, ptr, opt);
    }

    // PluginCmdInterface
    bool can_take(int index, int priority) override;
    bool take(int index, int priority) override;
    void release(int index, int priority) override;
    bool set_param(int index, float value, int priority) override;
    bool notify_host(int index, float value) override;
    bool set_param_and_notify(int index, float value, int priority) override;
    int apply_prog(const ProgramSlot& prog, int priority, bool release_after,
                   bool notify_host) override;

    // The end-edit step of the gesture task: closes the gestures whose source let go.
    void run_gestures();

    // Vst2MidiHostInterface: MIDI for the host, at the start of a block.
    void send_events_to_host(vst2::VstEvents& events) override;

    // AudioEffect
    void suspend() override;
    void resume() override;
    void setSampleRate(float rate) override;
    void processReplacing(float** inputs, float** outputs, vst2::VstInt32 frames) noexcept override;
    void setParameter(vst2::VstInt32 index, float value) override;
    float getParameter(vst2::VstInt32 index) override;
    void getParameterLabel(vst2::VstInt32 index, char* text) override;
    void getParameterDisplay(vst2::VstInt32 index, char* text) override;
    void getParameterName(vst2::VstInt32 index, char* text) override;
    void setProgram(vst2::VstInt32 program) override;
    void setProgramName(const char* name) override;
    void getProgramName(char* name) override;
    vst2::VstInt32 getChunk(void** data, bool is_preset) override;
    vst2::VstInt32 setChunk(void* data, vst2::VstInt32 byte_size, bool is_preset) override;

    // AudioEffectX
    vst2::VstInt32 processEvents(vst2::VstEvents* events) override;
    bool canParameterBeAutomated(vst2::VstInt32 index) override;
    bool string2parameter(vst2::VstInt32 index, char* text) override;
    bool getProgramNameIndexed(vst2::VstInt32 category, vst2::VstInt32 index, char* text) override;
    bool getInputProperties(vst2::VstInt32 index, vst2::VstPinProperties* properties) override;
    bool getOutputProperties(vst2::VstInt32 index, vst2::VstPinProperties* properties) override;
    vst2::VstPlugCategory getPlugCategory() override;
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    vst2::VstInt32 getVendorVersion() override;
    vst2::VstIntPtr vendorSpecific(vst2::VstInt32 index, vst2::VstIntPtr value, void* ptr,
                                   float opt) override;
    vst2::VstIntPtr canDo(const char* text) override;
    vst2::VstInt32 idle() override;
    bool getParameterProperties(vst2::VstInt32 index,
                                vst2::VstParameterProperties* properties) override;

protected:
    // The stop sequence of the teardown; the most derived destructor calls it first.
    void stop();
    // The editor side failed and is gone: drop what refers to it.
    virtual void gui_lost() {}
    // Audio thread: the host's tempo changed.
    virtual void tempo_changed(float /*bpm*/) noexcept {}
    bool gestures_in_background() const { return gestures_in_bkg_; }
    void set_gestures_in_background(bool flag) { gestures_in_bkg_ = flag; }
    // Seconds of the system's millisecond clock, read cheaply: it times every automated change.
    static double now();

private:
    // Host indices are checked against the DSP side's count and mapped to DSP indices; -1 when
    // the host's index is not a parameter.
    int host_to_dsp(vst2::VstInt32 index) const;
    NormalizedParamInterface* param_of_host_index(vst2::VstInt32 index);
    void sync_current_prog();
    // Makes program current and applies it, without saving the program being left.
    void select_prog(int program);
    void drop_gui();
    bool has_midi() const { return midi_mgr_ != nullptr; }
    int find_pin(const std::vector<std::array<int, 2>>& map, int pin, int& bus) const;
    bool fill_pin_properties(const std::vector<std::array<int, 2>>& map, bool input, int pin,
                             vst2::VstPinProperties* properties);
    void update_tempo() noexcept;

    // Declared first so that they outlive the sides that point to them.
    std::unique_ptr<HostDspInterface> host_dsp_;
    std::unique_ptr<HostGuiInterface> host_gui_;

    BankManager bank_;
    basic::LockFreeBuffer<BankManager> bank_buf_;
    ParamPriorityList prio_list_;
    std::unique_ptr<DspInterface> dsp_;
    std::unique_ptr<GuiInterface> gui_;
    // MIDI control: destroyed in the reverse order, dispatcher first, before the sides.
    std::unique_ptr<MidiMgr> midi_mgr_;
    std::unique_ptr<Vst2MidiDevSelComp> midi_host_comp_;
    std::unique_ptr<MidiDevSelDispatcher> midi_dispatcher_;
    int nbr_inputs_ = 0;
    int nbr_outputs_ = 0;
    int automation_threshold_ = 999999999;
    float last_tempo_ = 0.0f;
    std::vector<std::array<int, 2>> in_pins_;
    std::vector<std::array<int, 2>> out_pins_;
    std::string settings_sub_path_;
    ParamReorder reorder_;
    std::vector<std::uint8_t> chunk_;
    GestureState gestures_;
    bool gestures_in_bkg_ = true;
    // The DSP side hides its parameters from the host: nothing is reported as automation.
    bool hidden_ = false;
    bool stopped_ = false;
    // Until a program is applied the parameters hold the DSP side's defaults, not a program.
    bool prog_applied_ = false;
    // Serialises the bank, the chunk buffer and program changes between the host's threads.
    std::recursive_mutex prog_mutex_;
};

} // namespace plux
