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
    if (!history.empty())
        history += ' ';
    history += step;
}

// Every text is shorter than the smallest room the interface gives.
void copy_text(void* ptr, const std::string& text, std::size_t room = 24)
{
    const std::size_t length = std::min(text.size(), room - 1);
    std::memcpy(ptr, text.data(), length);
    static_cast<char*>(ptr)[length] = '\0';
}

struct Fake
{
    AEffect effect{};
    HostCallback host = nullptr;
    std::string fault; // as the environment names it
    fake_plugin::Seen seen;
    float gain = 0.5f;
    std::string program_names[3] = {"Unity", "Quiet", "Loud"};
    VstInt32 program = 0;
    // The bank's, of an odd size so that a host reading past it is caught by the address
    // sanitizer, and the program's.
    std::vector<unsigned char> chunks[2] = {std::vector<unsigned char>(37),
                                            {'p', 'r', 'o', 'g', '0'}};
    std::size_t shell_cursor = 0;
    std::vector<VstMidiEvent> events;
    std::int64_t frames_done = 0;
    std::vector<std::thread> caller_threads;

    VstIntPtr call(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                   float opt = 0.0f)
    {
        return host(&effect, opcode, index, value, ptr, opt);
    }

    ~Fake()
    {
        for (std::thread& t : caller_threads)
            t.join();
        --live_effects;
    }
};

Fake& of(AEffect* e)
{
    return *static_cast<Fake*>(e->object);
}

void call_host_on(Fake& f, fake_plugin::HostCall& request, VstIntPtr thread)
{
    auto make_call = [&f, &request]
    { request.answer = f.call(request.opcode, request.index, request.value, request.ptr); };
    if (thread == fake_plugin::same_thread)
        make_call();
    else if (thread == fake_plugin::joined_thread)
        std::thread(make_call).join();
    else
        f.caller_threads.emplace_back([&f, copy = request]
                                      { f.call(copy.opcode, copy.index, copy.value, copy.ptr); });
}

VstIntPtr dispatch(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float)
{
    Fake& f = of(e);
    switch (opcode)
    {
    case effOpen:
    case effSetSampleRate:
    case effSetBlockSize:
    case effMainsChanged:
        note(opcode == effOpen            ? "open"
             : opcode == effSetSampleRate ? "rate"
             : opcode == effSetBlockSize  ? "block"
             : value != 0                 ? "resume"
                                          : "suspend");
        return 0;
    case effClose:
        note("close");
        delete &f;
        return 1;
    case effSetProgram:
        f.program = value >= 0 && value < 3 ? static_cast<VstInt32>(value) : f.program;
        return 0;
    case effGetProgram:
        return f.program;
    case effSetProgramName:
        f.program_names[f.program] = static_cast<const char*>(ptr);
        return 0;
    case effGetProgramName:
        copy_text(ptr, f.program_names[f.program]);
        return 0;
    case effGetProgramNameIndexed:
        if (index >= 0 && index < 3)
            copy_text(ptr, f.program_names[index]);
        return index >= 0 && index < 3 ? 1 : 0;
    case effGetParamName:
    case effGetParamLabel:
    case effGetParamDisplay:
    {
        // Not every C library prints an infinity the same way.
        char display[32] = "-inf";
        if (f.gain > 0.0f)
            std::snprintf(display, sizeof(display), "%.1f", 20.0 * std::log10(2.0 * f.gain));
        if (index == 0)
            copy_text(ptr, opcode == effGetParamName    ? "Gain"
                           : opcode == effGetParamLabel ? "dB"
                                                        : display);
        return 0;
    }
    case effString2Parameter:
        if (index == 0)
            f.gain = std::clamp(std::strtof(static_cast<const char*>(ptr), nullptr), 0.0f, 1.0f);
        return index == 0 ? 1 : 0;
    case effGetChunk:
        *static_cast<void**>(ptr) = f.chunks[index != 0].data();
        return static_cast<VstIntPtr>(f.chunks[index != 0].size());
    case effSetChunk:
        f.chunks[index != 0].assign(static_cast<unsigned char*>(ptr),
                                    static_cast<unsigned char*>(ptr) + value);
        return 1;
    case effProcessEvents:
    {
        auto* list = static_cast<VstEvents*>(ptr);
        for (VstInt32 i = 0; i < list->numEvents; ++i)
        {
            if (list->events[i]->type == kVstMidiType)
                f.events.push_back(*reinterpret_cast<const VstMidiEvent*>(list->events[i]));
        }
        // Sent straight back, as a MIDI effect passes events through.
        f.call(audioMasterProcessEvents, 0, 0, list);
        return 1;
    }
    case effGetParameterProperties:
    {
        auto* properties = static_cast<VstParameterProperties*>(ptr);
        copy_text(properties->label, "Gain");
        copy_text(properties->shortLabel, "Gn", sizeof(properties->shortLabel));
        properties->flags = kVstParameterCanRamp;
        return index == 0 ? 1 : 0;
    }
    case effGetInputProperties:
    case effGetOutputProperties:
    {
        auto* properties = static_cast<VstPinProperties*>(ptr);
        const std::string side = opcode == effGetInputProperties ? "In" : "Out";
        copy_text(properties->label, "Fake " + side + (index == 0 ? " L" : " R"));
        copy_text(properties->shortLabel, side + (index == 0 ? "L" : "R"),
                  sizeof(properties->shortLabel));
        properties->flags = kVstPinIsActive | (index == 0 ? kVstPinIsStereo : 0);
        return index >= 0 && index < 2 ? 1 : 0;
    }
    case effGetEffectName:
    case effGetVendorString:
    case effGetProductString:
        copy_text(ptr, opcode == effGetVendorString                ? "Morvane Tests"
                       : opcode == effGetProductString             ? "Fake Plugin"
                       : f.effect.uniqueID == fake_plugin::trim_id ? "Fake Trim"
                                                                   : "Fake Gain");
        return 1;
    case effGetVendorVersion:
        return 7;
    case effCanDo:
    {
        const std::string capability = static_cast<const char*>(ptr);
        return capability.starts_with("receiveVst") ? 1 : capability == "offline" ? -1 : 0;
    }
    case effShellGetNextPlugin:
        if (f.shell_cursor >= 2)
            return 0;
        copy_text(ptr, f.shell_cursor == 0 ? "Fake Gain" : "Fake Trim");
        return f.shell_cursor++ == 0 ? fake_plugin::gain_id : fake_plugin::trim_id;
    case effVendorSpecific:
        if (index == fake_plugin::call_host)
            call_host_on(f, *static_cast<fake_plugin::HostCall*>(ptr), value);
        else if (index == fake_plugin::get_seen)
            *static_cast<fake_plugin::Seen*>(ptr) = f.seen;
        return 1;
    default:
        return 0;
    }
}

void process(AEffect* e, float** inputs, float** outputs, VstInt32 frames)
{
    Fake& f = of(e);
    if (f.fault == "crash")
    {
        // A wild write far from any object, as a broken plug-in makes one.
        static volatile std::uintptr_t wild_address = 16;
        *reinterpret_cast<volatile float*>(wild_address) = 1.0f;
    }
    const auto* time =
        reinterpret_cast<const VstTimeInfo*>(f.call(audioMasterGetTime, 0, kVstTempoValid));
    f.seen.time_given = time != nullptr;
    if (time != nullptr)
    {
        f.seen.time_flags = time->flags;
        f.seen.tempo = time->tempo;
        f.seen.sample_pos = time->samplePos;
        f.seen.sample_rate = time->sampleRate;
    }
    for (int channel = 0; channel < 2; ++channel)
    {
        for (VstInt32 i = 0; i < frames; ++i)
            outputs[channel][i] = inputs[channel][i] * 2.0f * f.gain;
    }
    for (const VstMidiEvent& event : f.events)
    {
        if (event.deltaFrames >= 0 && event.deltaFrames < frames)
            outputs[1][event.deltaFrames] =
                static_cast<float>((event.midiData[0] & 0x0F) * 100000 + event.midiData[1] * 128 +
                                   event.midiData[2] + 1);
    }
    f.events.clear();
    for (VstInt32 i = 0; f.fault == "nan" && i < frames; ++i)
    {
        if (f.frames_done + i >= 4000)
            outputs[1][i] = std::numeric_limits<float>::quiet_NaN();
    }
    f.frames_done += frames;
}

void set_parameter(AEffect* e, VstInt32 index, float value)
{
    Fake& f = of(e);
    if (index != 0)
        return;
    f.gain = std::clamp(value, 0.0f, 1.0f);
    f.call(audioMasterBeginEdit);
    f.call(audioMasterAutomate, 0, 0, nullptr, f.gain);
    f.call(audioMasterEndEdit);
}

float get_parameter(AEffect* e, VstInt32 index)
{
    return index == 0 ? of(e).gain : 0.0f;
}

AEffect* make_effect(HostCallback host)
{
    const char* fault = std::getenv(fake_plugin::fault_variable);
    if (host == nullptr || (fault != nullptr && std::string(fault) == "no_effect"))
        return nullptr;
    if (host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0)
        return nullptr;
    if (host(nullptr, audioMasterCanDo, 0, 0, const_cast<char*>(fake_plugin::bad_magic_capability),
             0.0f) == 1)
    {
        static AEffect not_an_effect{};
        return &not_an_effect;
    }
    const bool trim =
        host(nullptr, audioMasterCurrentId, 0, 0, nullptr, 0.0f) == fake_plugin::trim_id;
    auto* f = new Fake;
    ++live_effects;
    f->host = host;
    f->fault = fault != nullptr ? fault : "";
    for (std::size_t i = 0; i < f->chunks[0].size(); ++i)
        f->chunks[0][i] = static_cast<unsigned char>(i * 7 + 1);
    AEffect& effect = f->effect;
    effect.magic = kEffectMagic;
    effect.dispatcher = &dispatch;
    effect.setParameter = &set_parameter;
    effect.getParameter = &get_parameter;
    effect.numPrograms = 3;
    effect.numParams = 1;
    effect.numInputs = 2;
    effect.numOutputs = 2;
    effect.flags = effFlagsCanReplacing | effFlagsProgramChunks;
    effect.object = f;
    effect.uniqueID = trim ? fake_plugin::trim_id : fake_plugin::gain_id;
    effect.version = 1;
    effect.processReplacing = &process;
    // Asked with its own record before the host has it.
    char host_vendor[64];
    f->call(audioMasterGetVendorString, 0, 0, host_vendor);
    note("entry");
    return &effect;
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
