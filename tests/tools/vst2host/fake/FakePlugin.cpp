// A small stereo gain built as a VST 2 plug-in library, for the tests of the host harness and of
// morvane-host. It calls its host the ways a real plug-in does: the version and the host's vendor
// at the entry, an edit gesture around each parameter change, the time information in every block,
// the MIDI events it gets sent straight back. Tests make it call any host opcode from any thread
// through effVendorSpecific; programs that load it make it fail through the environment
// (FakePluginProtocol.hpp).
//
// Both outputs are their inputs times the gain, twice parameter 0; each MIDI event of a block
// shows on the right output at its deltaFrames as channel * 100000 + data1 * 128 + data2 + 1.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
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
    history += history.empty() ? "" : " ";
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

enum class Fault
{
    none,
    no_effect,
    nan,
    crash,
};

Fault fault_from_environment()
{
    const char* text = std::getenv(fake_plugin::fault_variable);
    const std::string fault = text != nullptr ? text : "";
    if (fault == "no_effect")
        return Fault::no_effect;
    if (fault == "nan")
        return Fault::nan;
    return fault == "crash" ? Fault::crash : Fault::none;
}

constexpr VstInt32 num_programs = 3;

class FakeEffect
{
public:
    FakeEffect(HostCallback host, VstInt32 id, VstIntPtr version, Fault fault);
    ~FakeEffect();
    FakeEffect(const FakeEffect&) = delete;
    FakeEffect& operator=(const FakeEffect&) = delete;

    // The entry asks with its own record before the host has it.
    void learn_host_vendor()
    {
        call(audioMasterGetVendorString, 0, 0, seen.host_vendor);
        seen.host_vendor[sizeof(seen.host_vendor) - 1] = '\0';
    }

    AEffect effect{};

private:
    static FakeEffect& of(AEffect* e) { return *static_cast<FakeEffect*>(e->object); }
    static VstIntPtr dispatcher_proc(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                     void* ptr, float)
    {
        return of(e).dispatch(opcode, index, value, ptr);
    }
    static void process_replacing_proc(AEffect* e, float** inputs, float** outputs, VstInt32 frames)
    {
        of(e).process(inputs, outputs, frames);
    }
    static void set_parameter_proc(AEffect* e, VstInt32 index, float value)
    {
        of(e).set_parameter(index, value);
    }
    static float get_parameter_proc(AEffect* e, VstInt32 index)
    {
        return index == 0 ? of(e).gain : 0.0f;
    }

    VstIntPtr call(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt = 0.0f)
    {
        return host(&effect, opcode, index, value, ptr, opt);
    }
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr);
    void call_host_on(fake_plugin::HostCall& request, VstIntPtr thread);
    void set_parameter(VstInt32 index, float value);
    void process(float** inputs, float** outputs, VstInt32 frames);

    HostCallback host;
    Fault fault;
    fake_plugin::Seen seen;
    float gain = 0.5f;
    std::string program_names[num_programs] = {"Unity", "Quiet", "Loud"};
    VstInt32 program = 0;
    std::vector<unsigned char> bank_chunk;
    std::vector<unsigned char> program_chunk = {'p', 'r', 'o', 'g', '0'};
    std::size_t shell_cursor = 0;
    std::vector<VstMidiEvent> events;
    std::int64_t frames_done = 0;
    std::vector<std::thread> caller_threads;
};

FakeEffect::FakeEffect(HostCallback host, VstInt32 id, VstIntPtr version, Fault fault)
    : host(host)
    , fault(fault)
{
    seen.version = version;
    effect.magic = kEffectMagic;
    effect.dispatcher = &dispatcher_proc;
    effect.setParameter = &set_parameter_proc;
    effect.getParameter = &get_parameter_proc;
    effect.numPrograms = num_programs;
    effect.numParams = 1;
    effect.numInputs = 2;
    effect.numOutputs = 2;
    effect.flags = effFlagsCanReplacing | effFlagsProgramChunks;
    effect.object = this;
    effect.uniqueID = id;
    effect.version = 1;
    effect.processReplacing = &process_replacing_proc;
    // An odd size, so that a host reading past it is caught by the address sanitizer.
    for (int i = 0; i < 37; ++i)
        bank_chunk.push_back(static_cast<unsigned char>(i * 7 + 1));
    ++live_effects;
}

FakeEffect::~FakeEffect()
{
    for (std::thread& t : caller_threads)
        t.join();
    --live_effects;
}

void FakeEffect::set_parameter(VstInt32 index, float value)
{
    if (index != 0)
        return;
    gain = std::clamp(value, 0.0f, 1.0f);
    call(audioMasterBeginEdit, 0, 0, nullptr);
    call(audioMasterAutomate, 0, 0, nullptr, gain);
    call(audioMasterEndEdit, 0, 0, nullptr);
}

void FakeEffect::call_host_on(fake_plugin::HostCall& request, VstIntPtr thread)
{
    auto make_call = [this, &request]
    { request.answer = call(request.opcode, request.index, request.value, request.ptr); };
    if (thread == fake_plugin::same_thread)
        make_call();
    else if (thread == fake_plugin::joined_thread)
        std::thread(make_call).join();
    else
        caller_threads.emplace_back([this, copy = request]
                                    { call(copy.opcode, copy.index, copy.value, copy.ptr); });
}

VstIntPtr FakeEffect::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr)
{
    switch (opcode)
    {
    case effOpen:
        note("open");
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
        return 0;
    case effSetProgram:
        if (value >= 0 && value < num_programs)
            program = static_cast<VstInt32>(value);
        return 0;
    case effGetProgram:
        return program;
    case effSetProgramName:
        program_names[program] = std::string(static_cast<const char*>(ptr)).substr(0, 23);
        return 0;
    case effGetProgramName:
        copy_text(ptr, program_names[program], kVstMaxProgNameLen);
        return 0;
    case effGetProgramNameIndexed:
        if (index < 0 || index >= num_programs)
            return 0;
        copy_text(ptr, program_names[index], 64);
        return 1;
    case effGetParamName:
    case effGetParamLabel:
    case effGetParamDisplay:
    {
        if (index != 0)
            return 0;
        // Not every C library prints an infinity the same way.
        char text[32] = "-inf";
        if (gain > 0.0f)
            std::snprintf(text, sizeof(text), "%.1f", 20.0 * std::log10(2.0 * gain));
        copy_text(ptr,
                  opcode == effGetParamDisplay ? text
                  : opcode == effGetParamName  ? "Gain"
                                               : "dB",
                  24);
        return 0;
    }
    case effString2Parameter:
        if (index != 0)
            return 0;
        gain = std::clamp(std::strtof(static_cast<const char*>(ptr), nullptr), 0.0f, 1.0f);
        return 1;
    case effGetChunk:
    {
        std::vector<unsigned char>& chunk = index == 0 ? bank_chunk : program_chunk;
        *static_cast<void**>(ptr) = chunk.data();
        return static_cast<VstIntPtr>(chunk.size());
    }
    case effSetChunk:
    {
        const auto* bytes = static_cast<const unsigned char*>(ptr);
        (index == 0 ? bank_chunk : program_chunk).assign(bytes, bytes + value);
        return 1;
    }
    case effProcessEvents:
    {
        auto* list = static_cast<VstEvents*>(ptr);
        for (VstInt32 i = 0; i < list->numEvents; ++i)
        {
            if (list->events[i]->type == kVstMidiType)
                events.push_back(*reinterpret_cast<const VstMidiEvent*>(list->events[i]));
        }
        // Sent straight back, as a MIDI effect passes events through.
        call(audioMasterProcessEvents, 0, 0, list);
        return 1;
    }
    case effGetParameterProperties:
    {
        if (index != 0)
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
        if (index < 0 || index >= 2)
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
    case effCanDo:
    {
        const std::string capability = static_cast<const char*>(ptr);
        if (capability == "receiveVstEvents" || capability == "receiveVstMidiEvent")
            return 1;
        return capability == "offline" ? -1 : 0;
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
        if (index == fake_plugin::call_host)
            call_host_on(*static_cast<fake_plugin::HostCall*>(ptr), value);
        else if (index == fake_plugin::get_seen)
            *static_cast<fake_plugin::Seen*>(ptr) = seen;
        return 1;
    default:
        return 0;
    }
}

void FakeEffect::process(float** inputs, float** outputs, VstInt32 frames)
{
    if (fault == Fault::crash)
    {
        // A wild write far from any object, as a broken plug-in makes one.
        static volatile std::uintptr_t wild_address = 16;
        *reinterpret_cast<volatile float*>(wild_address) = 1.0f;
    }
    const auto* time =
        reinterpret_cast<const VstTimeInfo*>(call(audioMasterGetTime, 0, kVstTempoValid, nullptr));
    seen.time_given = time != nullptr;
    if (time != nullptr)
    {
        seen.time_flags = time->flags;
        seen.tempo = time->tempo;
        seen.sample_pos = time->samplePos;
        seen.sample_rate = time->sampleRate;
    }
    for (int channel = 0; channel < 2; ++channel)
    {
        for (VstInt32 i = 0; i < frames; ++i)
            outputs[channel][i] = inputs[channel][i] * 2.0f * gain;
    }
    for (const VstMidiEvent& event : events)
    {
        if (event.deltaFrames >= 0 && event.deltaFrames < frames)
            outputs[1][event.deltaFrames] =
                static_cast<float>((event.midiData[0] & 0x0F) * 100000 + event.midiData[1] * 128 +
                                   event.midiData[2] + 1);
    }
    events.clear();
    for (VstInt32 i = 0; fault == Fault::nan && i < frames; ++i)
    {
        if (frames_done + i >= 4000)
            outputs[1][i] = std::numeric_limits<float>::quiet_NaN();
    }
    frames_done += frames;
}

AEffect* make_effect(HostCallback host)
{
    const Fault fault = fault_from_environment();
    if (host == nullptr || fault == Fault::no_effect)
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
    auto* made = new FakeEffect(host, id, version, fault);
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
