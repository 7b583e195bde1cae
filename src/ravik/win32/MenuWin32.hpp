#pragma once

#include "ravik/Menu.hpp"

struct HMENU__;
struct HWND__;

namespace ravik
{

// Pop-up menus on Windows: the system's modal pop-up at the cursor, owned by a window of its own
// inside the plug-in's window that lives as long as the menu. Editor thread only.
class MenuWin32 final : public Menu
{
public:
    static constexpr const char* class_name = "TarvexAudioPluginMenu";
    // The longest text of an item's line; longer labels are cut.
    static constexpr int max_item_text = 127;

    MenuWin32() = default;
    ~MenuWin32() override;
    MenuWin32(const MenuWin32&) = delete;
    MenuWin32& operator=(const MenuWin32&) = delete;

    // The plug-in's window.
    void set_parent(HWND__* parent) { parent_ = parent; }

    // Shows the menu and returns when the user has picked an item or dismissed it; the pick
    // reaches the item's listener once the menu is gone. 0, or -1 when the menu could not be
    // shown as asked.
    int show(MenuRequest& request) override;
    // Asked while the menu is shown, ends it without a pick.
    int stop() override;

    // The pop-up being shown; null otherwise.
    HMENU__* get_popup() const { return popup_; }
    HWND__* get_window() const { return window_; }

private:
    HWND__* parent_ = nullptr;
    HWND__* window_ = nullptr;
    HMENU__* popup_ = nullptr;
    bool tracking_ = false;
};

} // namespace ravik
