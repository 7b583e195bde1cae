#include "plux/vst2/AudioEffect.hpp"

#include "plux/vst2/AEffEditor.hpp"

namespace vst2
{

namespace
{

AudioEffect* object_of(AEffect* e)
{
    return e != nullptr ? static_cast<AudioEffect*>(e->object) : nullptr;
}

} // namespace

AudioEffect::AudioEffect(HostCallback host, VstInt32 num_programs, VstInt32 num_params)
    : host_(host)
{
    effect_.magic = kEffectMagic;
    effect_.dispatcher = &AudioEffect::dispatch_entry;
    effect_.process = &AudioEffect::process_entry;
    effect_.setParameter = &AudioEffect::set_parameter_entry;
    effect_.getParameter = &AudioEffect::get_parameter_entry;
    effect_.processReplacing = &AudioEffect::process_replacing_entry;
    effect_.processDoubleReplacing = nullptr;
    effect_.numPrograms = num_programs;
    effect_.numParams = num_params;
    effect_.numInputs = 1;
    effect_.numOutputs = 2;
    effect_.ioRatio = 1.0f;
    effect_.object = this;
    effect_.uniqueID = fourcc('N', 'o', 'E', 'f');
    effect_.version = 1;
}

AudioEffect::~AudioEffect()
{
    delete editor_;
}

VstIntPtr AudioEffect::dispatch_entry(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                      void* ptr, float opt)
{
    AudioEffect* self = object_of(e);
    if (self == nullptr)
    {
        return 0;
    }
    try
    {
        if (opcode == effClose)
        {
            self->close();
            delete self;
            return 1;
        }
        return self->dispatcher(opcode, index, value, ptr, opt);
    }
    catch (...)
    {
        return 0;
    }
}

// The audio entries need no handler: the processing path cannot throw.
void AudioEffect::process_entry(AEffect* e, float** inputs, float** outputs, VstInt32 frames)
{
    if (AudioEffect* self = object_of(e))
    {
        self->process(inputs, outputs, frames);
    }
}

void AudioEffect::process_replacing_entry(AEffect* e, float** inputs, float** outputs,
                                          VstInt32 frames)
{
    if (AudioEffect* self = object_of(e))
    {
        self->processReplacing(inputs, outputs, frames);
    }
}

void AudioEffect::set_parameter_entry(AEffect* e, VstInt32 index, float value)
{
    if (AudioEffect* self = object_of(e))
    {
        try
        {
            self->setParameter(index, value);
        }
        catch (...)
        {
        }
    }
}

float AudioEffect::get_parameter_entry(AEffect* e, VstInt32 index)
{
    if (AudioEffect* self = object_of(e))
    {
        try
        {
            return self->getParameter(index);
        }
        catch (...)
        {
        }
    }
    return 0.0f;
}

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt)
{
    switch (opcode)
    {
    case effOpen:
        open();
        return 0;
    case effSetProgram:
        if (value >= 0 && value < getNumPrograms())
        {
            setProgram(static_cast<VstInt32>(value));
        }
        return 0;
    case effGetProgram:
        return getProgram();
    case effSetProgramName:
        if (ptr != nullptr)
        {
            setProgramName(static_cast<const char*>(ptr));
        }
        return 0;
    case effGetProgramName:
        if (ptr != nullptr)
        {
            getProgramName(static_cast<char*>(ptr));
        }
        return 0;
    case effGetParamLabel:
        if (ptr != nullptr)
        {
            getParameterLabel(index, static_cast<char*>(ptr));
        }
        return 0;
    case effGetParamDisplay:
        if (ptr != nullptr)
        {
            getParameterDisplay(index, static_cast<char*>(ptr));
        }
        return 0;
    case effGetParamName:
        if (ptr != nullptr)
        {
            getParameterName(index, static_cast<char*>(ptr));
        }
        return 0;
    case effSetSampleRate:
        setSampleRate(opt);
        return 0;
    case effSetBlockSize:
        setBlockSize(static_cast<VstInt32>(value));
        return 0;
    case effMainsChanged:
        if (value == 0)
        {
            suspend();
        }
        else
        {
            resume();
        }
        return 0;
    case effEditGetRect:
        return editor_ != nullptr && editor_->getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
    case effEditOpen:
        return editor_ != nullptr && editor_->open(ptr) ? 1 : 0;
    case effEditClose:
        if (editor_ != nullptr)
        {
            editor_->close();
        }
        return 0;
    case effEditIdle:
        if (editor_ != nullptr)
        {
            editor_->idle();
        }
        return 0;
    case effIdentify:
        return kIdentifyAnswer;
    case effGetChunk:
        return ptr != nullptr ? getChunk(static_cast<void**>(ptr), index != 0) : 0;
    case effSetChunk:
        if (ptr == nullptr || value <= 0 || value > 0x7FFFFFFF)
        {
            return 0;
        }
        return setChunk(ptr, static_cast<VstInt32>(value), index != 0);
    default:
        return 0;
    }
}

void AudioEffect::getParameterLabel(VstInt32 /*index*/, char* text)
{
    *text = '\0';
}

void AudioEffect::getParameterDisplay(VstInt32 /*index*/, char* text)
{
    *text = '\0';
}

void AudioEffect::getParameterName(VstInt32 /*index*/, char* text)
{
    *text = '\0';
}

void AudioEffect::getProgramName(char* name)
{
    *name = '\0';
}

VstInt32 AudioEffect::getChunk(void** data, bool /*is_preset*/)
{
    *data = nullptr;
    return 0;
}

VstInt32 AudioEffect::setChunk(void* /*data*/, VstInt32 /*byte_size*/, bool /*is_preset*/)
{
    return 0;
}

void AudioEffect::setEditor(AEffEditor* editor)
{
    editor_ = editor;
    setFlag(effFlagsHasEditor, editor != nullptr);
}

VstIntPtr AudioEffect::callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                float opt)
{
    return host_ != nullptr ? host_(&effect_, opcode, index, value, ptr, opt) : 0;
}

VstInt32 AudioEffect::getMasterVersion()
{
    return static_cast<VstInt32>(callHost(audioMasterVersion));
}

bool AudioEffect::isInputConnected(VstInt32 input)
{
    return callHost(audioMasterPinConnected, input, 0) == 0;
}

bool AudioEffect::isOutputConnected(VstInt32 output)
{
    return callHost(audioMasterPinConnected, output, 1) == 0;
}

void AudioEffect::setFlag(VstInt32 flag, bool state)
{
    if (state)
    {
        effect_.flags |= flag;
    }
    else
    {
        effect_.flags &= ~flag;
    }
}

} // namespace vst2
