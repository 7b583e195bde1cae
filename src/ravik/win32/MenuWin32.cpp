#include "ravik/win32/MenuWin32.hpp"

#include <windows.h>

#include <string>

#include "ravik/MenuMessages.hpp"
#include "ravik/MenuNodes.hpp"
#include "ravik/win32/SystemWin32.hpp"

namespace ravik
{

namespace
{

// Item data: the identifier moved by this much.
constexpr ULONG_PTR item_data_offset = 100;

bool insert_line(HMENU popup, UINT position, MENUITEMINFOA& info, const std::string& text)
{
    std::string copy = text;
    info.cbSize = sizeof(info);
    info.fMask |= MIIM_STRING;
    info.dwTypeData = copy.data();
    return ::InsertMenuItemA(popup, position, TRUE, &info) != FALSE;
}

// The shown nodes of list, in order; submenus built the same way.
HMENU build_popup(const MenuList& list)
{
    HMENU popup = ::CreatePopupMenu();
    UINT position = 0;
    for (int i = 0; i < list.size() && popup != nullptr; ++i)
    {
        const MenuNodeInterface& node = list.at(i);
        if (!node.is_shown())
        {
            continue;
        }
        MENUITEMINFOA info = {};
        bool inserted = false;
        if (const auto* sub = dynamic_cast<const MenuList*>(&node))
        {
            info.fMask = MIIM_SUBMENU | MIIM_STATE;
            info.hSubMenu = build_popup(*sub);
            info.fState = sub->is_disabled() ? MFS_GRAYED : MFS_ENABLED;
            inserted = insert_line(popup, position, info, double_ampersands(sub->get_label()));
            if (!inserted && info.hSubMenu != nullptr)
            {
                ::DestroyMenu(info.hSubMenu);
            }
        }
        else if (const auto* item = dynamic_cast<const MenuItem*>(&node))
        {
            info.fMask = MIIM_ID | MIIM_DATA | MIIM_STATE;
            info.wID = static_cast<UINT>(item->get_id());
            info.dwItemData = static_cast<ULONG_PTR>(item->get_id()) + item_data_offset;
            info.fState = (item->is_disabled() ? MFS_GRAYED : MFS_ENABLED) |
                          (item->is_checked() ? MFS_CHECKED : MFS_UNCHECKED);
            inserted = insert_line(
                popup, position, info,
                double_ampersands(item->get_label()).substr(0, MenuWin32::max_item_text));
        }
        else if (node.get_label().empty())
        {
            info.cbSize = sizeof(info);
            info.fMask = MIIM_FTYPE;
            info.fType = MFT_SEPARATOR;
            inserted = ::InsertMenuItemA(popup, position, TRUE, &info) != FALSE;
        }
        else
        {
            info.fMask = MIIM_STATE;
            info.fState = MFS_GRAYED;
            inserted = insert_line(popup, position, info,
                                   delimiter_text(double_ampersands(node.get_label())));
        }
        position += inserted ? 1 : 0;
    }
    return popup;
}

} // namespace

MenuWin32::~MenuWin32()
{
    if (!tracking_ && popup_ != nullptr)
    {
        stop();
    }
}

int MenuWin32::show(MenuRequest& request)
{
    // The system tracks one pop-up at a time.
    if (tracking_ || popup_ != nullptr || request.root == nullptr || parent_ == nullptr)
    {
        return -1;
    }
    int result = 0;
    POINT pos = {};
    ::GetCursorPos(&pos);
    pos.x += request.offset.x;
    pos.y += request.offset.y;

    // The menu's own window takes the menu's messages (initialisation, selection, idle), which
    // are none of the plug-in window's business.
    WNDCLASSEXA info = {};
    info.cbSize = sizeof(info);
    info.style = CS_HREDRAW | CS_VREDRAW;
    info.lpfnWndProc = &::DefWindowProcA;
    info.hInstance = win32::get_module();
    info.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    info.lpszClassName = class_name;
    if (::RegisterClassExA(&info) == 0)
    {
        win32::report_error("ravik::MenuWin32::show()", ::GetLastError());
        result = -1;
    }
    POINT at = pos;
    ::ScreenToClient(parent_, &at);
    window_ = ::CreateWindowExA(0, class_name, "ze menu", WS_CHILD | WS_VISIBLE, at.x, at.y, 0, 0,
                                parent_, nullptr, win32::get_module(), nullptr);

    root_ = request.root;
    MenuList* root = root_;
    popup_ = build_popup(*root);
    tracking_ = true;
    const int command = static_cast<int>(
        ::TrackPopupMenu(popup_, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                         pos.x, pos.y, 0, window_ != nullptr ? window_ : parent_, nullptr));
    tracking_ = false;
    stop();

    if (MenuItem* item = command != 0 ? find_item(*root, command) : nullptr)
    {
        if (MenuListenerInterface* listener = item->get_listener())
        {
            listener->on_select();
        }
    }
    return result;
}

int MenuWin32::stop()
{
    if (tracking_)
    {
        // show() lets go of the menu once the system's tracking has returned.
        return ::EndMenu() ? 0 : -1;
    }
    bool done = popup_ != nullptr && ::DestroyMenu(popup_);
    done = window_ != nullptr && ::DestroyWindow(window_) && done;
    done = ::UnregisterClassA(class_name, win32::get_module()) && done;
    popup_ = nullptr;
    window_ = nullptr;
    root_ = nullptr;
    return done ? 0 : -1;
}

} // namespace ravik
