#pragma once

#include <atomic>
#include <cstddef>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "plux/vst2/Vst2Abi.hpp"
#include "vst2host/CallbackLog.hpp"
#include "vst2host/MidiEventList.hpp"
#include "vst2host/ModuleLoader.hpp"

namespace vst2host
{

// What audioMasterGetTime answers.
enum class TimeInfoMode
{
    absent,        // no time information: the answer is 0
    with_tempo,    // a record with kVstTempoValid and the tempo set
    without_tempo, // a record whose tempo is not valid
};

// One plug-in of a shell library, as effShellGetNextPlugin lists it.
struct ShellPlugin
{
    vst2::VstInt32 id = 0;
    std::string name;
};

// A VST 2 host for one effect: loads the plug-in library, answers and records the plug-in's
// callbacks, and drives the effect as a DAW does. Made for tests and command-line tools, not for
// real-time use: the callback records every call under a lock.
//
// The driving operations run on the caller's thread, which plays the DAW's user-interface thread,
// and process() makes that thread the audio thread for the call. The answers may be changed at any
// time between calls; callbacks from the plug-in's own threads see the change at their next call.
class Host
{
public:
    Host();
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // Loads the library, finds VSTPluginMain (or else main) and calls it with the host callback.
    // A null answer or a record without the 'VstP' magic is a failure; get_error() says why. One
    // load per host.
    bool load(const std::string& path);
    // The same with an entry function of this process instead of a library.
    bool load_entry(vst2::PluginEntryProc entry);
    const std::string& get_error() const noexcept { return error; }
    // Null before a successful load and after stop().
    vst2::AEffect* use_effect() const noexcept { return effect; }

    // As a DAW starts an effect: effOpen, effSetSampleRate, effSetBlockSize, effMainsChanged(1).
    bool start(float sample_rate, vst2::VstInt32 block_size);
    void suspend();
    void resume();
    // effMainsChanged(0) when resumed, then effClose; the effect is gone afterwards, the library
    // stays loaded until destruction.
    void stop();

    // 0 when there is no effect.
    vst2::VstIntPtr dispatch(vst2::VstInt32 opcode, vst2::VstInt32 index = 0,
                             vst2::VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f);

    std::string get_effect_name();
    std::string get_vendor_string();
    std::string get_product_string();
    vst2::VstIntPtr get_vendor_version();
    std::string get_param_name(vst2::VstInt32 index);
    std::string get_param_label(vst2::VstInt32 index);
    std::string get_param_display(vst2::VstInt32 index);
    std::string get_program_name();
    void set_program_name(const std::string& name);
    vst2::VstIntPtr get_program();
    void set_program(vst2::VstInt32 program);
    // Empty when the plug-in answers 0.
    std::optional<std::string> get_program_name_indexed(vst2::VstInt32 program,
                                                        vst2::VstInt32 category = -1);
    vst2::VstIntPtr can_do(const std::string& capability);
    // The bytes the plug-in hands out, exactly as many as it says; empty when it gives none.
    std::vector<unsigned char> get_chunk(bool one_program);
    vst2::VstIntPtr set_chunk(std::span<const unsigned char> data, bool one_program);
    std::optional<vst2::VstParameterProperties> get_parameter_properties(vst2::VstInt32 index);
    std::optional<vst2::VstPinProperties> get_input_properties(vst2::VstInt32 pin);
    std::optional<vst2::VstPinProperties> get_output_properties(vst2::VstInt32 pin);
    vst2::VstIntPtr vendor_specific(vst2::VstInt32 index, vst2::VstIntPtr value, void* ptr,
                                    float opt);
    bool string_to_parameter(vst2::VstInt32 index, const std::string& text);
    // Every plug-in of a shell, in the order the shell lists them.
    std::vector<ShellPlugin> list_shell_plugins();

    void set_parameter(vst2::VstInt32 index, float value);
    float get_parameter(vst2::VstInt32 index);

    // processReplacing on the caller's thread. The plug-in gets at least as many channel pointers
    // as it announces pins: missing or null inputs read silence, missing or null outputs go to
    // scratch buffers. Refused (false) without an effect, without processReplacing, or for more
    // frames than the block size given to start().
    bool process(std::span<float* const> inputs, std::span<float* const> outputs,
                 vst2::VstInt32 frames);
    // effProcessEvents with the list.
    vst2::VstIntPtr send_events(MidiEventList& events);

    void set_version(vst2::VstIntPtr answer);
    void set_time_mode(TimeInfoMode mode);
    void set_tempo(double beats_per_minute);
    void set_input_connected(vst2::VstInt32 pin, bool connected);
    void set_output_connected(vst2::VstInt32 pin, bool connected);
    void set_vendor_string(const std::string& text);
    void set_product_string(const std::string& text);
    void set_vendor_version(vst2::VstIntPtr answer);
    void set_can_do(const std::string& capability, vst2::VstIntPtr answer);
    // audioMasterGetDirectory answers the text's address, or 0 without a text.
    void set_directory(std::optional<std::string> directory);
    void set_size_window_answer(vst2::VstIntPtr answer);
    void set_parameter_quantization(vst2::VstIntPtr answer);
    void set_automation_state(vst2::VstIntPtr answer);
    // Without an answer the level follows the thread: 2 (real-time) inside process(), else 1.
    void set_process_level(std::optional<vst2::VstIntPtr> answer);
    // audioMasterCurrentId: the shell plug-in to build at the next load.
    void set_current_id(vst2::VstInt32 id);

    // Whether callbacks go into the log (the default). Off, the host answers as a DAW does,
    // without the record's cost: for timing a plug-in, whose callbacks are then not seen.
    void set_recording(bool on) noexcept { recording.store(on, std::memory_order_relaxed); }

    CallbackLog& use_log() noexcept { return log; }
    // Copies of the events received through audioMasterProcessEvents, in order.
    std::vector<vst2::VstEvent> get_received_events() const;
    void clear_received_events();

    // The host callback every effect of every Host gets. Calls for an effect no Host knows (one
    // already closed, or never loaded) answer 0 and are not recorded; the pointer is never read.
    static vst2::VstIntPtr host_callback(vst2::AEffect* effect, vst2::VstInt32 opcode,
                                         vst2::VstInt32 index, vst2::VstIntPtr value, void* ptr,
                                         float opt);

private:
    struct Answers
    {
        vst2::VstIntPtr version = vst2::kVstVersion;
        TimeInfoMode time_mode = TimeInfoMode::with_tempo;
        double tempo = 120.0;
        std::set<vst2::VstInt32> disconnected_inputs;
        std::set<vst2::VstInt32> disconnected_outputs;
        std::string vendor = "Morvane Test Host";
        std::string product = "vst2host";
        vst2::VstIntPtr vendor_version = 1000;
        std::map<std::string, vst2::VstIntPtr> can_do;
        std::optional<std::string> directory;
        vst2::VstIntPtr size_window = 1;
        vst2::VstIntPtr parameter_quantization = 0;
        vst2::VstIntPtr automation_state = 1;
        std::optional<vst2::VstIntPtr> process_level;
        vst2::VstInt32 current_id = 0;
    };

    bool build(vst2::PluginEntryProc entry, const std::string& what);
    vst2::VstIntPtr answer(const vst2::AEffect* from, vst2::VstInt32 opcode, vst2::VstInt32 index,
                           vst2::VstIntPtr value, void* ptr, float opt);
    vst2::VstIntPtr answer_time(vst2::VstIntPtr wanted_flags);
    void receive_events(const vst2::VstEvents* list);
    std::string get_text(vst2::VstInt32 opcode, vst2::VstInt32 index, vst2::VstIntPtr value = 0);
    std::optional<vst2::VstPinProperties> get_pin_properties(vst2::VstInt32 opcode,
                                                             vst2::VstInt32 pin);
    void forget_effect();

    ModuleLoader module;
    vst2::AEffect* effect = nullptr;
    std::string error;
    bool loaded = false;
    bool opened = false;
    bool resumed = false;

    // Guards the answers and the records the callback hands out or fills.
    mutable std::mutex mutex;
    Answers answers;
    float sample_rate = 44100.0f;
    vst2::VstInt32 block_size = 512;
    double sample_pos = 0.0;
    vst2::VstTimeInfo time_info{};
    std::vector<vst2::VstEvent> received_events;

    CallbackLog log;
    std::atomic<bool> recording{true};

    // process()'s channel pointers and the buffers standing in for missing channels, sized by
    // start() and grown only when the plug-in announces more pins.
    std::vector<float*> input_pointers;
    std::vector<float*> output_pointers;
    std::vector<float> silence;
    std::vector<std::vector<float>> scratch_outputs;

    std::vector<unsigned char> chunk_in;
};

} // namespace vst2host
