#pragma once

#include "plux/vst2/AudioEffect.hpp"

namespace vst2
{

// The VST 2 extensions of AudioEffect: events, parameter and pin properties, texts, capability
// queries, host extensions, and the host services a VST 2 effect uses.
class AudioEffectX : public AudioEffect
{
public:
    using AudioEffect::AudioEffect;

    VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                         float opt) override;

    virtual VstInt32 processEvents(VstEvents* /*events*/) { return 0; }
    virtual bool canParameterBeAutomated(VstInt32 /*index*/) { return true; }
    virtual bool string2parameter(VstInt32 /*index*/, char* /*text*/) { return false; }
    virtual bool getProgramNameIndexed(VstInt32 /*category*/, VstInt32 /*index*/, char* /*text*/)
    {
        return false;
    }
    virtual bool getInputProperties(VstInt32 /*index*/, VstPinProperties* /*properties*/)
    {
        return false;
    }
    virtual bool getOutputProperties(VstInt32 /*index*/, VstPinProperties* /*properties*/)
    {
        return false;
    }
    virtual VstPlugCategory getPlugCategory() { return kPlugCategEffect; }
    virtual bool getEffectName(char* /*name*/) { return false; }
    virtual bool getVendorString(char* /*text*/) { return false; }
    virtual bool getProductString(char* /*text*/) { return false; }
    virtual VstInt32 getVendorVersion() { return 0; }
    virtual VstIntPtr vendorSpecific(VstInt32 /*index*/, VstIntPtr /*value*/, void* /*ptr*/,
                                     float /*opt*/)
    {
        return 0;
    }
    // 1 yes, -1 no, 0 unknown.
    virtual VstIntPtr canDo(const char* /*text*/) { return 0; }
    virtual VstInt32 getTailSize() { return 0; }
    virtual VstInt32 idle() { return 0; }
    virtual bool getParameterProperties(VstInt32 /*index*/, VstParameterProperties* /*p*/)
    {
        return false;
    }
    virtual VstInt32 getVstVersion() { return kVstVersion; }

protected:
    bool beginEdit(VstInt32 index) { return callHost(audioMasterBeginEdit, index) != 0; }
    bool endEdit(VstInt32 index) { return callHost(audioMasterEndEdit, index) != 0; }
    void automate(VstInt32 index, float value)
    {
        callHost(audioMasterAutomate, index, 0, nullptr, value);
    }
    bool updateDisplay() { return callHost(audioMasterUpdateDisplay) != 0; }
    // The host's transport, or null; valid until the next call.
    VstTimeInfo* getTimeInfo(VstInt32 filter);
    bool getHostVendorString(char* text)
    {
        return callHost(audioMasterGetVendorString, 0, 0, text) != 0;
    }
    bool getHostProductString(char* text)
    {
        return callHost(audioMasterGetProductString, 0, 0, text) != 0;
    }
    VstInt32 canHostDo(const char* text);
    bool sizeWindow(VstInt32 width, VstInt32 height)
    {
        return callHost(audioMasterSizeWindow, width, height) != 0;
    }
    // The host's answer to audioMasterGetDirectory, or null.
    const char* getDirectory();
    VstIntPtr getParameterQuantization() { return callHost(audioMasterGetParameterQuantization); }
    bool sendVstEventsToHost(VstEvents* events)
    {
        return callHost(audioMasterProcessEvents, 0, 0, events) != 0;
    }
};

} // namespace vst2
