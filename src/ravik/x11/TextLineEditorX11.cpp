#include "ravik/x11/TextLineEditorX11.hpp"

#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <utility>

#include "ravik/x11/ConnectionX11.hpp"

namespace ravik
{

int TextLineEditorX11::open_field(const Rect& rect)
{
    Display* display = connection_.get_display();
    if (display == nullptr || parent_ == 0)
    {
        return -1;
    }
    field_ = connection_.create_window(
        parent_, rect, KeyPressMask | FocusChangeMask | ExposureMask | ButtonPressMask, false);
    pixels_ = std::make_unique<RenderingBufferMemory>(rect.x2 - rect.x1, rect.y2 - rect.y1);
    XMapRaised(display, field_);
    int revert = 0;
    XGetInputFocus(display, &previous_focus_, &revert);
    XSetInputFocus(display, field_, RevertToParent, CurrentTime);
    update_field();
    return 0;
}

void TextLineEditorX11::close_field()
{
    Display* display = connection_.get_display();
    if (field_ == 0 || display == nullptr)
    {
        field_ = 0;
        return;
    }
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    // Only when the field still has it: a focus that went elsewhere stays there.
    if (focus == field_ && previous_focus_ != None)
    {
        XSetInputFocus(display, previous_focus_, RevertToParent, CurrentTime);
    }
    XDestroyWindow(display, field_);
    field_ = 0;
    pixels_.reset();
}

void TextLineEditorX11::update_field()
{
    if (field_ != 0 && pixels_ != nullptr)
    {
        draw(*pixels_);
        connection_.put_pixels(field_, *pixels_, {});
    }
}

void TextLineEditorX11::handle(XEvent& event)
{
    switch (event.type)
    {
    case Expose:
        if (event.xexpose.count == 0)
        {
            update_field();
        }
        break;
    case KeyPress:
        on_key(event.xkey);
        break;
    case ButtonPress:
        if (event.xbutton.button == Button1)
        {
            click(event.xbutton.x, (event.xbutton.state & ShiftMask) != 0);
        }
        break;
    case FocusOut:
        // Grabs (a menu's) take the focus only for a while; pointer details are no real focus.
        if ((event.xfocus.mode == NotifyNormal || event.xfocus.mode == NotifyWhileGrabbed) &&
            event.xfocus.detail != NotifyInferior && event.xfocus.detail != NotifyPointer)
        {
            leave();
        }
        break;
    default:
        break;
    }
}

void TextLineEditorX11::on_key(XKeyEvent& event)
{
    using Key = LineEdit::Key;
    static constexpr std::pair<KeySym, Key> keys[] = {
        {XK_BackSpace, Key::backspace}, {XK_Delete, Key::del},
        {XK_KP_Delete, Key::del},       {XK_Left, Key::left},
        {XK_KP_Left, Key::left},        {XK_Right, Key::right},
        {XK_KP_Right, Key::right},      {XK_Home, Key::home},
        {XK_KP_Home, Key::home},        {XK_End, Key::end},
        {XK_KP_End, Key::end},
    };
    char typed[32];
    KeySym sym = NoSymbol;
    const int length = XLookupString(&event, typed, sizeof typed, &sym, nullptr);
    if (sym == XK_Return || sym == XK_KP_Enter)
    {
        press_enter();
        return;
    }
    if (sym == XK_Escape)
    {
        press_escape();
        return;
    }
    for (const auto& [keysym, key] : keys)
    {
        if (sym == keysym)
        {
            press(key, (event.state & ShiftMask) != 0);
            return;
        }
    }
    // Latin-1 bytes, which the fonts draw; the field drops control characters.
    if (length > 0)
    {
        type({typed, static_cast<std::size_t>(length)});
    }
}

} // namespace ravik
