// A small VST 2 effect for the end-to-end tests of morvane-host, built in several behaviours
// (PROBE_MODE): a probe that shows in its output what its host did, and plug-ins that fail in
// the ways the tool must report.
//
// Probe: the left output is the left input times the parameter "Level" (default 1); the right
// output is silent but for the MIDI events of the block, each written at its deltaFrames as
// channel * 100000 + controller * 128 + value + 1.
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "plux/vst2/Vst2Abi.hpp"

#define PROBE_MODE_PROBE 0
#define PROBE_MODE_NAN 1
#define PROBE_MODE_CRASH 2
#define PROBE_MODE_NULL_ENTRY 3

using namespace vst2;

namespace
{

struct Probe
{
    AEffect effect{};
    float level = 1.0f;
    std::int64_t frames_done = 0;
    std::vector<VstMidiEvent> events;
};

Probe* of(AEffect* effect)
{
    return static_cast<Probe*>(effect->object);
}

void copy_text(void* ptr, const char* text)
{
    std::strcpy(static_cast<char*>(ptr), text);
}

VstIntPtr dispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr, void* ptr, float)
{
    Probe* probe = of(effect);
    switch (opcode)
    {
    case effClose:
        delete probe;
        return 1;
    case effGetEffectName:
        copy_text(ptr, "Probe");
        return 1;
    case effGetParamName:
        copy_text(ptr, index == 0 ? "Level" : "");
        return 1;
    case effCanDo:
        return std::strcmp(static_cast<const char*>(ptr), "receiveVstMidiEvent") == 0 ? 1 : -1;
    case effProcessEvents:
    {
        const auto* list = static_cast<const VstEvents*>(ptr);
        VstEvent* const* slots = list->events;
        for (VstInt32 i = 0; i < list->numEvents; ++i)
        {
            if (slots[i]->type == kVstMidiType)
                probe->events.push_back(*reinterpret_cast<const VstMidiEvent*>(slots[i]));
        }
        return 1;
    }
    default:
        return 0;
    }
}

void set_parameter(AEffect* effect, VstInt32 index, float value)
{
    if (index == 0)
        of(effect)->level = value;
}

float get_parameter(AEffect* effect, VstInt32 index)
{
    return index == 0 ? of(effect)->level : 0.0f;
}

void process_replacing(AEffect* effect, float** inputs, float** outputs, VstInt32 frames)
{
    Probe* probe = of(effect);
    if (PROBE_MODE == PROBE_MODE_CRASH)
    {
        // A wild write far from any object, as a broken plug-in makes one.
        static volatile std::uintptr_t wild_address = 16;
        *reinterpret_cast<volatile float*>(wild_address) = 1.0f;
    }
    for (VstInt32 i = 0; i < frames; ++i)
    {
        outputs[0][i] = inputs[0][i] * probe->level;
        outputs[1][i] = 0.0f;
        if (PROBE_MODE == PROBE_MODE_NAN && probe->frames_done + i >= 4000)
            outputs[1][i] = std::numeric_limits<float>::quiet_NaN();
    }
    for (const VstMidiEvent& event : probe->events)
    {
        if (event.deltaFrames >= 0 && event.deltaFrames < frames)
        {
            const auto status = static_cast<unsigned char>(event.midiData[0]);
            outputs[1][event.deltaFrames] = static_cast<float>(
                (status & 0x0F) * 100000 + event.midiData[1] * 128 + event.midiData[2] + 1);
        }
    }
    probe->events.clear();
    probe->frames_done += frames;
}

} // namespace

extern "C" PROBE_EXPORT AEffect* VSTPluginMain(HostCallback host)
{
    if (host == nullptr || PROBE_MODE == PROBE_MODE_NULL_ENTRY)
        return nullptr;
    auto* probe = new Probe;
    AEffect& effect = probe->effect;
    effect.magic = kEffectMagic;
    effect.dispatcher = &dispatcher;
    effect.setParameter = &set_parameter;
    effect.getParameter = &get_parameter;
    effect.numParams = 1;
    effect.numInputs = 2;
    effect.numOutputs = 2;
    effect.flags = effFlagsCanReplacing;
    effect.object = probe;
    effect.uniqueID = fourcc('P', 'r', 'o', 'b');
    effect.version = 1;
    effect.processReplacing = &process_replacing;
    return &effect;
}
