#pragma once

#include "plux/vst2/Vst2Abi.hpp"

namespace vst2
{

class AudioEffect;

// The editor as the host reaches it through effEditGetRect, effEditOpen, effEditClose and
// effEditIdle. Host's user-interface thread.
class AEffEditor
{
public:
    explicit AEffEditor(AudioEffect* effect)
        : effect_(effect)
    {
    }
    virtual ~AEffEditor() = default;
    AEffEditor(const AEffEditor&) = delete;
    AEffEditor& operator=(const AEffEditor&) = delete;

    // Stores a pointer to the editor's own rectangle in *rect.
    virtual bool getRect(ERect** rect);
    // parent: HWND on Windows, an X11 window id on Linux.
    virtual bool open(void* parent);
    virtual void close() { parent_ = nullptr; }
    virtual void idle() {}
    virtual bool onKeyDown() { return false; }
    virtual bool onKeyUp() { return false; }
    virtual bool setKnobMode(VstInt32 /*mode*/) { return false; }

    bool isOpen() const { return parent_ != nullptr; }

protected:
    AudioEffect* getEffect() const { return effect_; }
    void* getParent() const { return parent_; }
    void setParent(void* parent) { parent_ = parent; }

private:
    AudioEffect* effect_;
    void* parent_ = nullptr;
};

} // namespace vst2
