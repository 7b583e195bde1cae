#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "kel/NoCase.hpp"
#include "kel/Rounding.hpp"
#include "kel/txt/out/ArgFloat.hpp"
#include "kel/txt/out/PrintNa.hpp"
#include "plux/DspInterface.hpp"
#include "plux/param/NormalizedParamInterface.hpp"
#include "plux/vst2/RoundingGuard.hpp"
#include "plux/vst2/Vst2Plugin.hpp"
#include "plux/vst2/Vst2PluginDetail.hpp"

// What the host asks about the parameters, the pins and the effect itself.
namespace plux
{

namespace
{

// Text fields as the host's buffers are treated: the size includes the terminating zero.
constexpr int param_text_size = 23;
constexpr int effect_name_size = 31;
constexpr int vendor_text_size = 64;
constexpr int pin_label_size = 63;
constexpr int ext_display_size = 23;
constexpr int ext_value_size = 256;

constexpr vst2::VstIntPtr ext_answer = 0xBEEF;
constexpr vst2::VstIntPtr ext_can_do = 0xBEEF0000;
constexpr vst2::VstInt32 ext_param_display = 7;
constexpr vst2::VstInt32 ext_text_to_value = 27;

} // namespace

using kel::equals_no_case;
using vst2_detail::copy_text;

// Parameters as the host sees them.

void Vst2Plugin::setParameter(vst2::VstInt32 index, float value)
{
    const int dsp_index = host_to_dsp(index);
    if (dsp_index >= 0)
    {
        set_param(dsp_index, value, prio_host);
    }
}

float Vst2Plugin::getParameter(vst2::VstInt32 index)
{
    const auto* param = param_of_host_index(index);
    return param != nullptr ? param->get_nrm() : 0.0f;
}

void Vst2Plugin::getParameterLabel(vst2::VstInt32 index, char* text)
{
    *text = '\0';
    if (const auto* param = param_of_host_index(index))
    {
        param->get_unit(text, param_text_size);
    }
}

void Vst2Plugin::getParameterDisplay(vst2::VstInt32 index, char* text)
{
    RoundingGuard guard;
    *text = '\0';
    if (const auto* param = param_of_host_index(index))
    {
        param->conv_val_to_str(text, param_text_size, param->get_val());
    }
}

void Vst2Plugin::getParameterName(vst2::VstInt32 index, char* text)
{
    *text = '\0';
    if (const auto* param = param_of_host_index(index))
    {
        param->get_name(text, param_text_size);
    }
}

bool Vst2Plugin::canParameterBeAutomated(vst2::VstInt32 index)
{
    const auto* param = param_of_host_index(index);
    return param == nullptr || param->get_automation_level() <= automation_threshold_;
}

bool Vst2Plugin::string2parameter(vst2::VstInt32 index, char* text)
{
    if (text == nullptr)
    {
        return true;
    }
    const auto* param = param_of_host_index(index);
    if (param == nullptr)
    {
        return false;
    }
    bool ok = false;
    const double value = param->conv_str_to_val(text, ok);
    if (!ok)
    {
        return false;
    }
    setParameter(index, param->conv_val_to_nrm(value));
    return true;
}

bool Vst2Plugin::getParameterProperties(vst2::VstInt32 index,
                                        vst2::VstParameterProperties* properties)
{
    const auto* param = param_of_host_index(index);
    if (param == nullptr)
    {
        return false;
    }
    std::memset(properties, 0, sizeof(*properties));
    char label[sizeof(properties->label)] = {};
    param->get_name(label, sizeof(label));
    std::memcpy(properties->label, label, sizeof(label));
    std::memcpy(properties->shortLabel, label, sizeof(properties->shortLabel) - 1);
    properties->shortLabel[sizeof(properties->shortLabel) - 1] = '\0';
    if (param->is_discrete())
    {
        const int a = round_int(param->conv_nrm_to_val(0.0f));
        const int b = round_int(param->conv_nrm_to_val(1.0f));
        const int lo = std::min(a, b);
        const int hi = std::max(a, b);
        if (static_cast<long long>(hi) - lo == 1)
        {
            properties->flags = vst2::kVstParameterIsSwitch;
        }
        else
        {
            properties->flags = vst2::kVstParameterUsesIntegerMinMax;
            properties->minInteger = lo;
            properties->maxInteger = hi;
        }
    }
    else
    {
        properties->flags = vst2::kVstParameterCanRamp;
    }
    return true;
}

// Pins.

int Vst2Plugin::find_pin(const std::vector<std::array<int, 2>>& map, int pin, int& bus) const
{
    for (std::size_t b = 0; b < map.size(); ++b)
    {
        for (std::size_t chn = 0; chn < 2; ++chn)
        {
            if (map[b][chn] == pin)
            {
                bus = static_cast<int>(b);
                return static_cast<int>(chn);
            }
        }
    }
    return -1;
}

bool Vst2Plugin::fill_pin_properties(const std::vector<std::array<int, 2>>& map, bool input,
                                     int pin, vst2::VstPinProperties* properties)
{
    int bus = -1;
    const int chn = pin >= 0 ? find_pin(map, pin, bus) : -1;
    if (chn < 0)
    {
        return false;
    }
    const BusInfo& info = input ? dsp_->use_in_bus(bus) : dsp_->use_out_bus(bus);
    std::memset(properties, 0, sizeof(*properties));
    properties->flags = vst2::kVstPinIsActive;
    if (info.get_nbr_chn() == 2)
    {
        properties->flags |= vst2::kVstPinIsStereo;
    }
    copy_text(properties->label, pin_label_size, info.get_chn_name(chn));
    return true;
}

bool Vst2Plugin::getInputProperties(vst2::VstInt32 index, vst2::VstPinProperties* properties)
{
    return fill_pin_properties(in_pins_, true, index, properties);
}

bool Vst2Plugin::getOutputProperties(vst2::VstInt32 index, vst2::VstPinProperties* properties)
{
    return fill_pin_properties(out_pins_, false, index, properties);
}

// Texts and capabilities.

vst2::VstPlugCategory Vst2Plugin::getPlugCategory()
{
    const std::string category = dsp_->get_info_str("plugin_category");
    if (category.empty() || equals_no_case(category, "effect") ||
        equals_no_case(category, "hybrid"))
    {
        return vst2::kPlugCategEffect;
    }
    if (equals_no_case(category, "instrument"))
    {
        return vst2::kPlugCategSynth;
    }
    if (equals_no_case(category, "analyser"))
    {
        return vst2::kPlugCategAnalysis;
    }
    return vst2::kPlugCategUnknown;
}

bool Vst2Plugin::getEffectName(char* name)
{
    std::string text = dsp_->get_info_str("plugin_name_display");
    if (text.empty())
    {
        text = dsp_->get_info_str("plugin_name");
    }
    copy_text(name, effect_name_size, text);
    return true;
}

bool Vst2Plugin::getVendorString(char* text)
{
    copy_text(text, vendor_text_size, dsp_->get_info_str("manufacturer"));
    return true;
}

bool Vst2Plugin::getProductString(char* text)
{
    RoundingGuard guard;
    char product[vendor_text_size];
    std::snprintf(product, sizeof(product), "%s %s %.2f",
                  dsp_->get_info_str("manufacturer").c_str(),
                  dsp_->get_info_str("plugin_name").c_str(), dsp_->get_info_num("plugin_version"));
    copy_text(text, vendor_text_size, product);
    return true;
}

vst2::VstInt32 Vst2Plugin::getVendorVersion()
{
    const double v = dsp_->get_info_num("plugin_version");
    const double major = std::floor(v);
    const double f = (v - major) * 10.0;
    const double minor = std::floor(f);
    const int patch = round_int((f - minor) * 10.0);
    return static_cast<vst2::VstInt32>(major) * 256 + static_cast<vst2::VstInt32>(minor) * 16 +
           patch;
}

vst2::VstIntPtr Vst2Plugin::vendorSpecific(vst2::VstInt32 index, vst2::VstIntPtr value, void* ptr,
                                           float opt)
{
    if (index != ext_param_display && index != ext_text_to_value)
    {
        return 0;
    }
    RoundingGuard guard;
    const auto* param = value >= 0 && value <= 0x7FFFFFFF
                            ? param_of_host_index(static_cast<vst2::VstInt32>(value))
                            : nullptr;
    if (param == nullptr || ptr == nullptr)
    {
        return 0;
    }
    char* text = static_cast<char*>(ptr);
    if (index == ext_param_display)
    {
        param->conv_val_to_str(text, ext_display_size, param->conv_nrm_to_val(opt));
        return ext_answer;
    }
    bool ok = false;
    const double parsed = param->conv_str_to_val(text, ok);
    if (ok)
    {
        kel::txt::out::PrintNa printer(text, ext_value_size);
        printer.print("%1fp7%", kel::txt::out::ArgFloat(param->conv_val_to_nrm(parsed)));
        return ext_answer;
    }
    return value == 0 && text[0] == '\0' ? ext_answer : 0;
}

vst2::VstIntPtr Vst2Plugin::canDo(const char* text)
{
    const std::string t(text);
    if (t == "sendVstMidiEvent" || t == "sendVstEvents" || t == "receiveVstMidiEvent" ||
        t == "receiveVstEvents")
    {
        return has_midi() ? 1 : -1;
    }
    if (t == "receiveVstTimeInfo")
    {
        return 1;
    }
    if (t == "hasCockosExtensions" || t == "hasQuorraExtensions")
    {
        return ext_can_do;
    }
    return 0;
}

} // namespace plux
