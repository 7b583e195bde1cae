#include "sys/SimpleMessageBox.hpp"

#include <windows.h>

#include "sys/win32/OwnerWindow.hpp"

namespace sys
{

int SimpleMessageBox::show(const std::string& title, const std::string& text, int buttons,
                           int default_button)
{
    UINT type = 0;
    int nbr_buttons = 0;
    switch (buttons)
    {
    case buttons_ok:
        type = MB_OK;
        nbr_buttons = 1;
        break;
    case buttons_ok_cancel:
        type = MB_OKCANCEL;
        nbr_buttons = 2;
        break;
    case buttons_yes_no:
        type = MB_YESNO;
        nbr_buttons = 2;
        break;
    default:
        return res_failed;
    }
    if (default_button == 1 && nbr_buttons > 1)
    {
        type |= MB_DEFBUTTON2;
    }

    const HWND owner = win32::find_owner_window();
    type |= MB_SETFOREGROUND;
    if (owner == nullptr)
    {
        type |= MB_TASKMODAL;
    }

    switch (::MessageBoxA(owner, text.c_str(), title.c_str(), type))
    {
    case IDOK:
    case IDYES:
        return res_ok;
    case IDCANCEL:
    case IDNO:
        return res_cancel;
    default:
        return res_failed;
    }
}

} // namespace sys
