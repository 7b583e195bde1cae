#pragma once

#include <atomic>

#include "plux/vst2/Vst2Abi.hpp"

namespace vst2
{

class AEffEditor;

// The effect side of the VST 2 interface: holds the effect record that the host sees and turns
// its dispatcher opcodes and callbacks into virtual operations. Every call from the host goes
// through static entry points that catch exceptions, so nothing thrown ever reaches the host.
class AudioEffect
{
public:
    AudioEffect(HostCallback host, VstInt32 num_programs, VstInt32 num_params);
    virtual ~AudioEffect();
    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;

    AEffect* getAeffect() { return &effect_; }

    // Routes an opcode to the operations below; unknown opcodes answer 0.
    virtual VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                 float opt);

    virtual void open() {}
    // Called just before the object is destroyed on effClose.
    virtual void close() {}
    virtual void suspend() {}
    virtual void resume() {}
    virtual void setSampleRate(float rate) { sample_rate_ = rate; }
    virtual void setBlockSize(VstInt32 size) { block_size_ = size; }

    // Audio thread.
    virtual void process(float** /*inputs*/, float** /*outputs*/, VstInt32 /*frames*/) noexcept {}
    virtual void processReplacing(float** inputs, float** outputs, VstInt32 frames) noexcept = 0;

    virtual void setParameter(VstInt32 /*index*/, float /*value*/) {}
    virtual float getParameter(VstInt32 /*index*/) { return 0.0f; }
    // The host's buffers: label, display and name.
    virtual void getParameterLabel(VstInt32 index, char* text);
    virtual void getParameterDisplay(VstInt32 index, char* text);
    virtual void getParameterName(VstInt32 index, char* text);

    virtual void setProgram(VstInt32 program) { cur_program_ = program; }
    virtual VstInt32 getProgram() { return cur_program_; }
    virtual void setProgramName(const char* /*name*/) {}
    virtual void getProgramName(char* name);

    // data receives a pointer to memory that the effect keeps valid until the next call.
    virtual VstInt32 getChunk(void** data, bool is_preset);
    virtual VstInt32 setChunk(void* data, VstInt32 byte_size, bool is_preset);

    virtual void setEditor(AEffEditor* editor);
    AEffEditor* getEditor() const { return editor_; }

    float getSampleRate() const { return sample_rate_; }
    VstInt32 getBlockSize() const { return block_size_; }
    VstInt32 getNumPrograms() const { return effect_.numPrograms; }
    VstInt32 getNumParams() const { return effect_.numParams; }

protected:
    // Host callback; answers 0 when there is none.
    VstIntPtr callHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f);
    HostCallback getHostCallback() const { return host_; }
    VstInt32 getMasterVersion();
    // A pin the host did not connect; hosts answer 0 for connected pins.
    bool isInputConnected(VstInt32 input);
    bool isOutputConnected(VstInt32 output);

    void setUniqueID(VstInt32 id) { effect_.uniqueID = id; }
    void setNumInputs(VstInt32 n) { effect_.numInputs = n; }
    void setNumOutputs(VstInt32 n) { effect_.numOutputs = n; }
    void setNumParams(VstInt32 n) { effect_.numParams = n; }
    void setNumPrograms(VstInt32 n) { effect_.numPrograms = n; }
    void setFlag(VstInt32 flag, bool state);
    void canProcessReplacing(bool state) { setFlag(effFlagsCanReplacing, state); }
    void programsAreChunks(bool state) { setFlag(effFlagsProgramChunks, state); }
    void isSynth(bool state) { setFlag(effFlagsIsSynth, state); }
    void setInitialDelay(VstInt32 delay) { effect_.initialDelay = delay; }

private:
    static VstIntPtr dispatch_entry(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                    void* ptr, float opt);
    static void process_entry(AEffect* e, float** inputs, float** outputs, VstInt32 frames);
    static void process_replacing_entry(AEffect* e, float** inputs, float** outputs,
                                        VstInt32 frames);
    static void set_parameter_entry(AEffect* e, VstInt32 index, float value);
    static float get_parameter_entry(AEffect* e, VstInt32 index);

    HostCallback host_;
    AEffEditor* editor_ = nullptr;
    float sample_rate_ = 44100.0f;
    VstInt32 block_size_ = 1024;
    std::atomic<VstInt32> cur_program_{0};
    AEffect effect_{};
};

} // namespace vst2
