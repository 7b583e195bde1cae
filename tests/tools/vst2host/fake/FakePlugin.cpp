// A small stereo gain built as a VST 2 plug-in library for the host harness's tests. It calls its
// host the ways a real plug-in does: the version at the entry, automation and edit gestures (the
// end of a gesture from its background thread), the time information in every block, the pin
// connections at resume. Tests make it call any host opcode from any thread through
// effVendorSpecific (FakePluginProtocol.hpp).
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "plux/vst2/Vst2Abi.hpp"
#include "tools/vst2host/fake/FakePluginProtocol.hpp"

using namespace vst2;

namespace
{

// The library's own record of what hosts did to its effects, read by the tests through
// fake_plugin_history() after the host is gone.
std::mutex history_mutex;
std::string history;
std::atomic<int> live_effects{0};

void note(const char* step)
{
    std::lock_guard lock(history_mutex);
    if (!history.empty())
        history += ' ';
    history += step;
}

void copy_text(void* ptr, const std::string& text, std::size_t room)
{
    if (ptr == nullptr)
        return;
    const std::size_t length = std::min(text.size(), room - 1);
    std::memcpy(ptr, text.data(), length);
    static_cast<char*>(ptr)[length] = '\0';
}

class FakeEffect
{
public:
    FakeEffect(HostCallback host, VstInt32 id, VstIntPtr version);
    ~FakeEffect();
    FakeEffect(const FakeEffect&) = delete;
    FakeEffect& operator=(const FakeEffect&) = delete;

    AEffect effect{};

    void learn_host_vendor();

private:
    static FakeEffect* of(AEffect* e) { return static_cast<FakeEffect*>(e->object); }
    static VstIntPtr dispatcher_proc(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                     void* ptr, float opt);
    static void process_proc(AEffect*, float**, float**, VstInt32) {}
    static void process_replacing_proc(AEffect* e, float** inputs, float** outputs,
                                       VstInt32 frames);
    static void set_parameter_proc(AEffect* e, VstInt32 index, float value);
    static float get_parameter_proc(AEffect* e, VstInt32 index);

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
    VstIntPtr call(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
    {
        return host(&effect, opcode, index, value, ptr, opt);
    }
    void call_host_on(fake_plugin::HostCall* request, VstIntPtr thread);
    void set_param(VstInt32 index, float value);
    std::string param_display(VstInt32 index) const;
    void gesture_loop();

    HostCallback host;
    fake_plugin::Seen seen;
    float params[fake_plugin::num_params] = {0.5f, 0.0f};
    std::string program_names[fake_plugin::num_programs] = {"Unity", "Quiet", "Loud"};
    VstInt32 program = 0;
    std::vector<unsigned char> bank_chunk;
    std::vector<unsigned char> program_chunk;
    std::size_t shell_cursor = 0;

    // Edit gestures: begun on setParameter, ended by the background thread once the parameter
    // has been left alone for a round.
    std::mutex gesture_mutex;
    std::vector<VstInt32> open_gestures;
    std::atomic<bool> running{true};
    std::thread gesture_thread;
    std::vector<std::thread> caller_threads;
};

FakeEffect::FakeEffect(HostCallback host, VstInt32 id, VstIntPtr version)
    : host(host)
{
    seen.version = version;
    effect.magic = kEffectMagic;
    effect.dispatcher = &dispatcher_proc;
    effect.process = &process_proc;
    effect.setParameter = &set_parameter_proc;
    effect.getParameter = &get_parameter_proc;
    effect.numPrograms = fake_plugin::num_programs;
    effect.numParams = fake_plugin::num_params;
    effect.numInputs = 2;
    effect.numOutputs = 2;
    effect.flags = effFlagsCanReplacing | effFlagsProgramChunks;
    effect.object = this;
    effect.uniqueID = id;
    effect.version = 1;
    effect.processReplacing = &process_replacing_proc;
    // Odd sizes, so that a host reading past them is caught by the address sanitizer.
    for (int i = 0; i < 37; ++i)
        bank_chunk.push_back(static_cast<unsigned char>(i * 7 + 1));
    program_chunk = {'p', 'r', 'o', 'g', '0'};
    ++live_effects;
    gesture_thread = std::thread([this] { gesture_loop(); });
}

FakeEffect::~FakeEffect()
{
    running = false;
    gesture_thread.join();
    for (std::thread& t : caller_threads)
        t.join();
    --live_effects;
}

// The entry asks with its own record before the host has it.
void FakeEffect::learn_host_vendor()
{
    call(audioMasterGetVendorString, 0, 0, seen.host_vendor, 0.0f);
    seen.host_vendor[sizeof(seen.host_vendor) - 1] = '\0';
}

void FakeEffect::gesture_loop()
{
    while (running)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::vector<VstInt32> ending;
        {
            std::lock_guard lock(gesture_mutex);
            ending.swap(open_gestures);
        }
        for (VstInt32 index : ending)
            call(audioMasterEndEdit, index, 0, nullptr, 0.0f);
    }
}

void FakeEffect::set_param(VstInt32 index, float value)
{
    if (index < 0 || index >= fake_plugin::num_params)
        return;
    params[index] = std::clamp(value, 0.0f, 1.0f);
    // Under the lock, so the gesture thread cannot end the gesture before it has begun.
    std::lock_guard lock(gesture_mutex);
    if (std::find(open_gestures.begin(), open_gestures.end(), index) == open_gestures.end())
    {
        call(audioMasterBeginEdit, index, 0, nullptr, 0.0f);
        open_gestures.push_back(index);
    }
    call(audioMasterAutomate, index, 0, nullptr, params[index]);
}

std::string FakeEffect::param_display(VstInt32 index) const
{
    if (index == 1)
        return params[1] >= 0.5f ? "On" : "Off";
    const float gain = 2.0f * params[0];
    if (gain <= 0.0f)
        return "-inf";
    char text[32];
    std::snprintf(text, sizeof(text), "%.1f", 20.0 * std::log10(gain));
    return text;
}

void FakeEffect::call_host_on(fake_plugin::HostCall* request, VstIntPtr thread)
{
    auto make_call = [this, request]
    {
        request->answer =
            call(request->opcode, request->index, request->value, request->ptr, request->opt);
    };
    if (thread == fake_plugin::same_thread)
        make_call();
    else if (thread == fake_plugin::joined_thread)
        std::thread(make_call).join();
    else
    {
        const fake_plugin::HostCall copy = *request;
        caller_threads.emplace_back(
            [this, copy] { call(copy.opcode, copy.index, copy.value, copy.ptr, copy.opt); });
    }
}

VstIntPtr FakeEffect::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                               [[maybe_unused]] float opt)
{
    const bool param_ok = index >= 0 && index < fake_plugin::num_params;
    switch (opcode)
    {
    case effOpen:
        note("open");
        call(audioMasterCanDo, 0, 0, const_cast<char*>("sizeWindow"), 0.0f);
        return 0;
    case effClose:
        note("close");
        delete this;
        return 1;
    case effSetSampleRate:
        note("rate");
        return 0;
    case effSetBlockSize:
        note("block");
        return 0;
    case effMainsChanged:
        note(value != 0 ? "resume" : "suspend");
        if (value != 0)
        {
            for (VstInt32 pin = 0; pin < 2; ++pin)
            {
                seen.input_connected[pin] = call(audioMasterPinConnected, pin, 0, nullptr, 0) == 0;
                seen.output_connected[pin] = call(audioMasterPinConnected, pin, 1, nullptr, 0) == 0;
            }
        }
        return 0;
    case effSetProgram:
        if (value >= 0 && value < fake_plugin::num_programs)
            program = static_cast<VstInt32>(value);
        return 0;
    case effGetProgram:
        return program;
    case effSetProgramName:
        if (ptr != nullptr)
            program_names[program] = std::string(static_cast<const char*>(ptr)).substr(0, 23);
        return 0;
    case effGetProgramName:
        copy_text(ptr, program_names[program], kVstMaxProgNameLen);
        return 0;
    case effGetProgramNameIndexed:
        if (index < 0 || index >= fake_plugin::num_programs)
            return 0;
        copy_text(ptr, program_names[index], 64);
        return 1;
    case effGetParamName:
        if (param_ok)
            copy_text(ptr, index == 0 ? "Gain" : "Bypass", 24);
        return 0;
    case effGetParamLabel:
        if (param_ok)
            copy_text(ptr, index == 0 ? "dB" : "", 24);
        return 0;
    case effGetParamDisplay:
        if (param_ok)
            copy_text(ptr, param_display(index), 24);
        return 0;
    case effString2Parameter:
        if (!param_ok)
            return 0;
        if (ptr != nullptr)
            params[index] =
                std::clamp(std::strtof(static_cast<const char*>(ptr), nullptr), 0.0f, 1.0f);
        return 1;
    case effGetChunk:
    {
        std::vector<unsigned char>& chunk = index == 0 ? bank_chunk : program_chunk;
        if (ptr == nullptr)
            return 0;
        *static_cast<void**>(ptr) = chunk.data();
        return static_cast<VstIntPtr>(chunk.size());
    }
    case effSetChunk:
    {
        if (ptr == nullptr || value < 0)
            return 0;
        const auto* bytes = static_cast<const unsigned char*>(ptr);
        (index == 0 ? bank_chunk : program_chunk).assign(bytes, bytes + value);
        return 1;
    }
    case effProcessEvents:
    {
        auto* list = static_cast<VstEvents*>(ptr);
        if (list == nullptr)
            return 0;
        seen.events_received += list->numEvents;
        // Sent straight back, as a MIDI effect passes events through.
        call(audioMasterProcessEvents, 0, 0, list, 0.0f);
        return 1;
    }
    case effGetParameterProperties:
    {
        if (index != 0 || ptr == nullptr)
            return 0;
        auto* properties = static_cast<VstParameterProperties*>(ptr);
        copy_text(properties->label, "Gain", sizeof(properties->label));
        copy_text(properties->shortLabel, "Gn", sizeof(properties->shortLabel));
        properties->flags = kVstParameterCanRamp;
        return 1;
    }
    case effGetInputProperties:
    case effGetOutputProperties:
    {
        if (index < 0 || index >= 2 || ptr == nullptr)
            return 0;
        auto* properties = static_cast<VstPinProperties*>(ptr);
        const std::string side = opcode == effGetInputProperties ? "In" : "Out";
        copy_text(properties->label, "Fake " + side + (index == 0 ? " L" : " R"),
                  sizeof(properties->label));
        copy_text(properties->shortLabel, side + (index == 0 ? "L" : "R"),
                  sizeof(properties->shortLabel));
        properties->flags = kVstPinIsActive | (index == 0 ? kVstPinIsStereo : 0);
        return 1;
    }
    case effGetPlugCategory:
        return kPlugCategEffect;
    case effGetEffectName:
        copy_text(ptr, effect.uniqueID == fake_plugin::trim_id ? "Fake Trim" : "Fake Gain",
                  kVstMaxEffectNameLen);
        return 1;
    case effGetVendorString:
        copy_text(ptr, "Morvane Tests", kVstMaxVendorStrLen);
        return 1;
    case effGetProductString:
        copy_text(ptr, "Fake Plugin", kVstMaxProductStrLen);
        return 1;
    case effGetVendorVersion:
        return 7;
    case effGetVstVersion:
        return kVstVersion;
    case effCanDo:
    {
        if (ptr == nullptr)
            return 0;
        const std::string capability = static_cast<const char*>(ptr);
        if (capability == "receiveVstEvents" || capability == "receiveVstMidiEvent")
            return 1;
        if (capability == "offline")
            return -1;
        return 0;
    }
    case effShellGetNextPlugin:
    {
        static const std::pair<VstInt32, const char*> shell[] = {
            {fake_plugin::gain_id, "Fake Gain"}, {fake_plugin::trim_id, "Fake Trim"}};
        if (shell_cursor >= std::size(shell))
            return 0;
        copy_text(ptr, shell[shell_cursor].second, kVstMaxEffectNameLen);
        return shell[shell_cursor++].first;
    }
    case effVendorSpecific:
        if (index == fake_plugin::call_host && ptr != nullptr)
        {
            call_host_on(static_cast<fake_plugin::HostCall*>(ptr), value);
            return 1;
        }
        if (index == fake_plugin::get_seen && ptr != nullptr)
        {
            *static_cast<fake_plugin::Seen*>(ptr) = seen;
            return 1;
        }
        return 0;
    default:
        return 0;
    }
}

VstIntPtr FakeEffect::dispatcher_proc(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                      void* ptr, float opt)
{
    return of(e)->dispatch(opcode, index, value, ptr, opt);
}

void FakeEffect::process_replacing_proc(AEffect* e, float** inputs, float** outputs,
                                        VstInt32 frames)
{
    FakeEffect& self = *of(e);
    const VstIntPtr answer = self.call(audioMasterGetTime, 0, kVstTempoValid, nullptr, 0.0f);
    const auto* time = reinterpret_cast<const VstTimeInfo*>(answer);
    self.seen.time_given = time != nullptr;
    if (time != nullptr)
    {
        self.seen.time_flags = time->flags;
        self.seen.tempo = time->tempo;
        self.seen.sample_pos = time->samplePos;
        self.seen.sample_rate = time->sampleRate;
    }
    const float gain = self.params[1] >= 0.5f ? 1.0f : 2.0f * self.params[0];
    // With the right input unplugged the effect runs mono from the left input.
    const float* right_source = self.seen.input_connected[1] ? inputs[1] : inputs[0];
    const float* sources[2] = {inputs[0], right_source};
    for (int channel = 0; channel < 2; ++channel)
    {
        for (VstInt32 i = 0; i < frames; ++i)
            outputs[channel][i] = sources[channel][i] * gain;
    }
}

void FakeEffect::set_parameter_proc(AEffect* e, VstInt32 index, float value)
{
    of(e)->set_param(index, value);
}

float FakeEffect::get_parameter_proc(AEffect* e, VstInt32 index)
{
    FakeEffect& self = *of(e);
    return index >= 0 && index < fake_plugin::num_params ? self.params[index] : 0.0f;
}

AEffect* make_effect(HostCallback host)
{
    if (host == nullptr)
        return nullptr;
    const VstIntPtr version = host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f);
    if (version == 0)
        return nullptr;
    if (host(nullptr, audioMasterCanDo, 0, 0, const_cast<char*>(fake_plugin::bad_magic_capability),
             0.0f) == 1)
    {
        static AEffect not_an_effect{};
        return &not_an_effect;
    }
    const VstIntPtr wanted = host(nullptr, audioMasterCurrentId, 0, 0, nullptr, 0.0f);
    const VstInt32 id =
        wanted == fake_plugin::trim_id ? fake_plugin::trim_id : fake_plugin::gain_id;
    auto* made = new FakeEffect(host, id, version);
    made->learn_host_vendor();
    note("entry");
    return &made->effect;
}

} // namespace

extern "C"
{

    FAKE_PLUGIN_EXPORT AEffect* VSTPluginMain(HostCallback host)
    {
        return make_effect(host);
    }

    FAKE_PLUGIN_EXPORT AEffect* plugin_main(HostCallback host) __asm__("main");
    FAKE_PLUGIN_EXPORT AEffect* plugin_main(HostCallback host)
    {
        return make_effect(host);
    }

    // The steps hosts took with this library's effects, separated by spaces; copied into text.
    FAKE_PLUGIN_EXPORT void fake_plugin_history(char* text, int room)
    {
        std::lock_guard lock(history_mutex);
        copy_text(text, history, static_cast<std::size_t>(room));
        history.clear();
    }

    FAKE_PLUGIN_EXPORT int fake_plugin_live_effects()
    {
        return live_effects;
    }

} // extern "C"
