#include "morvane-host/InfoReport.hpp"

#include <cctype>
#include <cstdio>
#include <string_view>

namespace morvane_host
{

namespace
{

// What plug-ins are usually asked through effCanDo.
constexpr std::string_view capabilities[] = {
    "sendVstEvents",
    "sendVstMidiEvent",
    "sendVstTimeInfo",
    "receiveVstEvents",
    "receiveVstMidiEvent",
    "receiveVstTimeInfo",
    "offline",
    "midiProgramNames",
    "bypass",
    "conformsToWindowRules",
    "MPE",
    "plugAsChannelInsert",
    "plugAsSend",
    "mixDryWet",
    "noRealTime",
    "multipass",
    "metapass",
    "1in1out",
    "1in2out",
    "2in1out",
    "2in2out",
    "2in4out",
    "4in2out",
    "4in4out",
    "4in8out",
    "8in4out",
    "8in8out",
};

struct FlagName
{
    vst2::VstInt32 bit;
    const char* name;
};

constexpr FlagName effect_flags[] = {
    {vst2::effFlagsHasEditor, "HasEditor"},
    {vst2::effFlagsCanReplacing, "CanReplacing"},
    {vst2::effFlagsProgramChunks, "ProgramChunks"},
    {vst2::effFlagsIsSynth, "IsSynth"},
    {vst2::effFlagsNoSoundInStop, "NoSoundInStop"},
    {vst2::effFlagsCanDoubleReplacing, "CanDoubleReplacing"},
};

constexpr FlagName parameter_flags[] = {
    {vst2::kVstParameterIsSwitch, "IsSwitch"},
    {vst2::kVstParameterUsesIntegerMinMax, "UsesIntegerMinMax"},
    {vst2::kVstParameterUsesFloatStep, "UsesFloatStep"},
    {vst2::kVstParameterUsesIntStep, "UsesIntStep"},
    {vst2::kVstParameterSupportsDisplayIndex, "SupportsDisplayIndex"},
    {vst2::kVstParameterSupportsDisplayCategory, "SupportsDisplayCategory"},
    {vst2::kVstParameterCanRamp, "CanRamp"},
};

constexpr const char* categories[] = {
    "unknown", "effect",      "synth",       "analysis",        "mastering", "spacializer",
    "room fx", "surround fx", "restoration", "offline process", "shell",     "generator",
};

template <std::size_t N>
std::string name_flags(vst2::VstInt32 flags, const FlagName (&names)[N])
{
    std::string text;
    vst2::VstInt32 rest = flags;
    for (const FlagName& flag : names)
    {
        if ((flags & flag.bit) != 0)
        {
            if (!text.empty())
                text += ' ';
            text += flag.name;
            rest &= ~flag.bit;
        }
    }
    if (rest != 0)
    {
        char hex[16];
        std::snprintf(hex, sizeof(hex), "0x%X", static_cast<unsigned>(rest));
        text += text.empty() ? "other bits " : " and other bits ";
        text += hex;
    }
    return text.empty() ? "none" : text;
}

std::string format_id(vst2::VstInt32 id)
{
    const auto bits = static_cast<std::uint32_t>(id);
    std::string chars;
    bool printable = true;
    for (int shift = 24; shift >= 0; shift -= 8)
    {
        const auto c = static_cast<unsigned char>(bits >> shift);
        printable = printable && std::isprint(c) != 0;
        chars += static_cast<char>(c);
    }
    char hex[16];
    std::snprintf(hex, sizeof(hex), "0x%08X", bits);
    return printable ? "'" + chars + "' (" + hex + ")" : std::string(hex);
}

std::string format_answer(vst2::VstIntPtr answer)
{
    if (answer > 0)
        return "yes";
    if (answer < 0)
        return "no";
    return "don't know";
}

std::string format_properties(const std::optional<vst2::VstParameterProperties>& properties)
{
    if (!properties)
        return "none";
    const vst2::VstParameterProperties& p = *properties;
    std::string text = "flags " + name_flags(p.flags, parameter_flags);
    if (p.flags & vst2::kVstParameterUsesIntegerMinMax)
        text += ", min " + std::to_string(p.minInteger) + ", max " + std::to_string(p.maxInteger);
    if (p.flags & vst2::kVstParameterUsesIntStep)
        text += ", step " + std::to_string(p.stepInteger) + ", large step " +
                std::to_string(p.largeStepInteger);
    if (p.flags & vst2::kVstParameterUsesFloatStep)
    {
        char steps[96];
        std::snprintf(steps, sizeof(steps), ", steps %g, small %g, large %g", p.stepFloat,
                      p.smallStepFloat, p.largeStepFloat);
        text += steps;
    }
    if (p.label[0] != '\0')
        text += ", label \"" + std::string(p.label) + "\"";
    if (p.shortLabel[0] != '\0')
        text += ", short label \"" + std::string(p.shortLabel) + "\"";
    if (p.flags & vst2::kVstParameterSupportsDisplayIndex)
        text += ", display index " + std::to_string(p.displayIndex);
    if (p.flags & vst2::kVstParameterSupportsDisplayCategory)
        text += ", category " + std::to_string(p.category) + " \"" + std::string(p.categoryLabel) +
                "\" of " + std::to_string(p.numParametersInCategory);
    return text;
}

} // namespace

std::string read_program_name(vst2host::Host& host, vst2::VstInt32 program)
{
    if (const std::optional<std::string> name = host.get_program_name_indexed(program))
        return *name;
    const vst2::VstIntPtr current = host.get_program();
    host.set_program(program);
    std::string name = host.get_program_name();
    host.set_program(static_cast<vst2::VstInt32>(current));
    return name;
}

void print_info(vst2host::Host& host, const std::string& path, std::ostream& out)
{
    const vst2::AEffect& effect = *host.use_effect();
    out << "Plug-in        " << path << '\n';
    out << "Effect record  magic " << format_id(effect.magic) << ", unique ID "
        << format_id(effect.uniqueID) << ", version " << effect.version << '\n';
    out << "               " << effect.numPrograms << " programs, " << effect.numParams
        << " parameters, " << effect.numInputs << " inputs, " << effect.numOutputs
        << " outputs, initial delay " << effect.initialDelay << " samples\n";
    out << "Flags          " << name_flags(effect.flags, effect_flags) << '\n';
    out << "Effect name    " << host.get_effect_name() << '\n';
    out << "Vendor         " << host.get_vendor_string() << '\n';
    out << "Product        " << host.get_product_string() << '\n';
    out << "Vendor version " << host.get_vendor_version() << '\n';
    out << "VST version    " << host.dispatch(vst2::effGetVstVersion) << '\n';
    const vst2::VstIntPtr category = host.dispatch(vst2::effGetPlugCategory);
    out << "Category       "
        << (category >= 0 && category < static_cast<vst2::VstIntPtr>(std::size(categories))
                ? categories[category]
                : "other")
        << " (" << category << ")\n";
    out << "Tail size      " << host.dispatch(vst2::effGetTailSize) << " samples\n";

    out << "\nCapabilities (effCanDo)\n";
    for (const std::string_view capability : capabilities)
        out << "  " << capability << ": " << format_answer(host.can_do(std::string(capability)))
            << '\n';

    out << "\nParameters\n";
    for (vst2::VstInt32 i = 0; i < effect.numParams; ++i)
    {
        out << "  " << i << "  \"" << host.get_param_name(i) << "\"  label \""
            << host.get_param_label(i) << "\"  display \"" << host.get_param_display(i)
            << "\"  value " << host.get_parameter(i) << "  automatable "
            << (host.dispatch(vst2::effCanBeAutomated, i) != 0 ? "yes" : "no") << '\n';
        out << "     properties: " << format_properties(host.get_parameter_properties(i)) << '\n';
    }

    out << "\nPrograms (current " << host.get_program() << ")\n";
    for (vst2::VstInt32 i = 0; i < effect.numPrograms; ++i)
    {
        out << "  " << i << "  \"" << read_program_name(host, i) << "\"\n";
    }
}

} // namespace morvane_host
