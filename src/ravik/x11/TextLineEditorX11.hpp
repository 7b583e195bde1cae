#pragma once

#include <X11/Xlib.h>
#include <memory>

#include "ravik/RenderingBufferMemory.hpp"
#include "ravik/TextLineEditorDrawn.hpp"

namespace ravik
{

class ConnectionX11;

// The text entry of the X11 window: a child window over the request's rectangle that takes the
// keyboard focus and shows the toolkit's field. Keys edit it, Enter validates, Escape cancels,
// and the field losing the focus validates; the focus goes back where it was when the entry
// ends. Editor thread only.
class TextLineEditorX11 final : public TextLineEditorDrawn
{
public:
    explicit TextLineEditorX11(ConnectionX11& connection)
        : connection_(connection)
    {
    }

    // The window that fields open in; 0 while there is none.
    void set_parent(Window parent) { parent_ = parent; }
    Window get_native_window() const { return field_; }
    bool handles(Window window) const { return window != 0 && window == field_; }
    void handle(XEvent& event);

protected:
    int open_field(const Rect& rect) override;
    void close_field() override;
    void update_field() override;

private:
    void on_key(XKeyEvent& event);

    ConnectionX11& connection_;
    Window parent_ = 0;
    Window field_ = 0;
    Window previous_focus_ = 0;
    std::unique_ptr<RenderingBufferMemory> pixels_;
};

} // namespace ravik
