#pragma once

namespace ravik
{

class MenuList;
class MenuRequest;

// Shows pop-up menus for a window: the pick reaches the item's listener.
class Menu
{
public:
    virtual ~Menu() = default;

    // 0, or -1 when the menu could not be shown as asked.
    virtual int show(MenuRequest& request) = 0;
    virtual int stop() = 0;

    MenuList* get_root() const { return root_; }

protected:
    MenuList* root_ = nullptr;
};

} // namespace ravik
