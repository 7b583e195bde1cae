#include "ravik/win32/TextLineEditorWin32.hpp"

#include <windows.h>

#include <cstdlib>

#include "ravik/TextMessages.hpp"
#include "ravik/win32/SystemWin32.hpp"

namespace ravik
{

namespace
{

LRESULT CALLBACK subclass_procedure(HWND edit, UINT message, WPARAM wparam, LPARAM lparam)
{
    auto* editor = reinterpret_cast<TextLineEditorWin32*>(::GetWindowLongPtrA(edit, GWLP_USERDATA));
    return win32::enter_from_system(
        "ravik::TextLineEditorWin32::edit_procedure()", LRESULT{0},
        [&] { return editor->edit_procedure(edit, message, wparam, lparam); });
}

// Negative: the height of the characters rather than of their cells, so that they fill the field.
int font_height(HWND edit, int pixels)
{
    HDC dc = ::GetDC(edit);
    POINT ends[2] = {{0, 0}, {0, pixels}};
    ::DPtoLP(dc, ends, 2);
    ::ReleaseDC(edit, dc);
    return -std::abs(ends[1].y - ends[0].y);
}

} // namespace

TextLineEditorWin32::~TextLineEditorWin32()
{
    destroy_field();
}

int TextLineEditorWin32::start_native(const TextInputRequest& request)
{
    const Rect& r = request.rect;
    edit_ = ::CreateWindowExA(
        0, "EDIT", "", WS_CHILD | WS_CLIPSIBLINGS | ES_AUTOHSCROLL | ES_CENTER, r.x1, r.y1,
        r.x2 - r.x1, r.y2 - r.y1, parent_, nullptr, win32::get_module(), nullptr);
    if (edit_ == nullptr)
    {
        return -1;
    }
    LOGFONTA look = {};
    look.lfHeight = font_height(edit_, r.y2 - r.y1);
    font_ = ::CreateFontIndirectA(&look);
    if (font_ == nullptr)
    {
        destroy_field();
        return -1;
    }
    ::SendMessageA(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    ::SetWindowTextA(edit_, text_.c_str());
    ::SendMessageA(edit_, EM_SETSEL, 0, -1);
    ::ShowWindow(edit_, SW_SHOW);
    ::SetWindowLongPtrA(edit_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    previous_procedure_ =
        ::SetWindowLongPtrA(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&subclass_procedure));
    if (previous_procedure_ == 0)
    {
        destroy_field();
        return -1;
    }
    if (::GetFocus() != edit_)
    {
        previous_focus_ = ::SetFocus(edit_);
    }
    return 0;
}

int TextLineEditorWin32::close_native()
{
    if (edit_ == nullptr)
    {
        return -1;
    }
    finishing_ = true;
    if (previous_focus_ != nullptr && ::GetFocus() == edit_ && ::IsWindow(previous_focus_))
    {
        ::SetFocus(previous_focus_);
    }
    // Its destruction keeps what was typed (on_field_destroyed).
    ::SendMessageA(edit_, WM_CLOSE, 0, 0);
    destroy_field();
    previous_focus_ = nullptr;
    finishing_ = false;
    return 0;
}

void TextLineEditorWin32::give_focus_back()
{
    if (is_active() && edit_ != nullptr)
    {
        ::SetFocus(previous_focus_ != nullptr && ::IsWindow(previous_focus_) ? previous_focus_
                                                                             : nullptr);
    }
}

void TextLineEditorWin32::destroy_field()
{
    if (edit_ != nullptr)
    {
        const bool was_finishing = finishing_;
        finishing_ = true;
        ::DestroyWindow(edit_);
        finishing_ = was_finishing;
        edit_ = nullptr;
    }
    if (font_ != nullptr)
    {
        ::DeleteObject(font_);
        font_ = nullptr;
    }
}

void TextLineEditorWin32::on_field_destroyed(HWND edit)
{
    char text[max_text + 1] = {};
    ::GetWindowTextA(edit, text, max_text + 1);
    text_ = text;
    ::SetWindowLongPtrA(edit, GWLP_WNDPROC, previous_procedure_);
    ::SetWindowLongPtrA(edit, GWLP_USERDATA, 0);
    previous_procedure_ = 0;
    edit_ = nullptr;
    if (font_ != nullptr)
    {
        ::DeleteObject(font_);
        font_ = nullptr;
    }
}

std::intptr_t TextLineEditorWin32::edit_procedure(HWND edit, unsigned int message,
                                                  std::uintptr_t wparam, std::intptr_t lparam)
{
    const auto previous = reinterpret_cast<WNDPROC>(previous_procedure_);
    switch (message)
    {
    case WM_CHAR:
        if (wparam == '\r' || wparam == '\x1b')
        {
            if (!finishing_)
            {
                set_validated(wparam == '\r');
                finish();
            }
            // Not passed on: the field would beep.
            return 0;
        }
        break;
    case WM_KILLFOCUS:
    {
        const LRESULT result = ::CallWindowProcA(previous, edit, message, wparam, lparam);
        if (!finishing_)
        {
            // The focus goes where the user put it: closing must not take it back.
            previous_focus_ = nullptr;
            set_validated(true);
            finish();
        }
        return result;
    }
    case WM_DESTROY:
        on_field_destroyed(edit);
        break;
    default:
        break;
    }
    return ::CallWindowProcA(previous, edit, message, wparam, lparam);
}

} // namespace ravik
