#include "plux/vst2/AudioEffectX.hpp"

#include "plux/vst2/AEffEditor.hpp"

namespace vst2
{

VstIntPtr AudioEffectX::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt)
{
    switch (opcode)
    {
    case effProcessEvents:
        return ptr != nullptr ? processEvents(static_cast<VstEvents*>(ptr)) : 0;
    case effCanBeAutomated:
        return canParameterBeAutomated(index) ? 1 : 0;
    case effString2Parameter:
        return string2parameter(index, static_cast<char*>(ptr)) ? 1 : 0;
    case effGetProgramNameIndexed:
        return ptr != nullptr && getProgramNameIndexed(static_cast<VstInt32>(value), index,
                                                       static_cast<char*>(ptr))
                   ? 1
                   : 0;
    case effGetInputProperties:
        return ptr != nullptr && getInputProperties(index, static_cast<VstPinProperties*>(ptr)) ? 1
                                                                                                : 0;
    case effGetOutputProperties:
        return ptr != nullptr && getOutputProperties(index, static_cast<VstPinProperties*>(ptr))
                   ? 1
                   : 0;
    case effGetPlugCategory:
        return getPlugCategory();
    case effGetEffectName:
        return ptr != nullptr && getEffectName(static_cast<char*>(ptr)) ? 1 : 0;
    case effGetVendorString:
        return ptr != nullptr && getVendorString(static_cast<char*>(ptr)) ? 1 : 0;
    case effGetProductString:
        return ptr != nullptr && getProductString(static_cast<char*>(ptr)) ? 1 : 0;
    case effGetVendorVersion:
        return getVendorVersion();
    case effVendorSpecific:
        return vendorSpecific(index, value, ptr, opt);
    case effCanDo:
        return ptr != nullptr ? canDo(static_cast<const char*>(ptr)) : 0;
    case effGetTailSize:
        return getTailSize();
    case effIdle:
        return idle();
    case effGetParameterProperties:
        return ptr != nullptr &&
                       getParameterProperties(index, static_cast<VstParameterProperties*>(ptr))
                   ? 1
                   : 0;
    case effKeysRequired:
        return 1;
    case effGetVstVersion:
        return getVstVersion();
    case effEditKeyDown:
        return getEditor() != nullptr && getEditor()->onKeyDown() ? 1 : 0;
    case effEditKeyUp:
        return getEditor() != nullptr && getEditor()->onKeyUp() ? 1 : 0;
    case effSetEditKnobMode:
        return getEditor() != nullptr && getEditor()->setKnobMode(static_cast<VstInt32>(value)) ? 1
                                                                                                : 0;
    default:
        return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
    }
}

VstTimeInfo* AudioEffectX::getTimeInfo(VstInt32 filter)
{
    return reinterpret_cast<VstTimeInfo*>(callHost(audioMasterGetTime, 0, filter));
}

VstInt32 AudioEffectX::canHostDo(const char* text)
{
    return static_cast<VstInt32>(callHost(audioMasterCanDo, 0, 0, const_cast<char*>(text)));
}

const char* AudioEffectX::getDirectory()
{
    return reinterpret_cast<const char*>(callHost(audioMasterGetDirectory));
}

} // namespace vst2
