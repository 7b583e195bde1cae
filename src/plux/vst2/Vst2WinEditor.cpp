#include "plux/vst2/Vst2WinEditor.hpp"

#include "plux/GuiInterface.hpp"
#include "plux/HostGuiInterface.hpp"
#include "ravik/NativeWindow.hpp"

namespace plux
{

Vst2WinEditor::Vst2WinEditor(vst2::AudioEffect* effect, GuiInterface& gui, HostGuiInterface& host)
    : AEffEditor(effect)
    , gui_(gui)
    , host_(host)
    , window_(ravik::create_native_window({initial_size, initial_size}))
{
    gui_.set_window(window_.get());
}

Vst2WinEditor::~Vst2WinEditor()
{
    // The editor side forgets the window before it goes.
    gui_.set_window(nullptr);
}

void Vst2WinEditor::idle()
{
    if (window_ != nullptr)
    {
        window_->idle();
    }
}

bool Vst2WinEditor::getRect(vst2::ERect** rect)
{
    int width = 0;
    int height = 0;
    if (host_.get_info_num("can_resize_window") != 0)
    {
        gui_.get_resizable_size(width, height);
    }
    else
    {
        gui_.get_size(width, height);
    }
    rect_ =
        vst2::ERect{0, 0, static_cast<vst2::VstInt16>(height), static_cast<vst2::VstInt16>(width)};
    if (rect != nullptr)
    {
        *rect = &rect_;
    }
    return true;
}

bool Vst2WinEditor::open(void* parent)
{
    try
    {
        const bool ok = gui_.open(parent) == 0;
        if (ok)
        {
            setParent(parent);
        }
        return ok;
    }
    catch (...)
    {
        // The host keeps a window it can close again.
        setParent(parent);
        return true;
    }
}

void Vst2WinEditor::close()
{
    try
    {
        gui_.close();
    }
    catch (...)
    {
    }
    setParent(nullptr);
}

} // namespace plux
