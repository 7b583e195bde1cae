#pragma once

#include <deque>

#include "plux/preset/PresetSelectionListenerBase.hpp"
#include "ravik/MenuNodes.hpp"

namespace plux
{

class PresetSelectorListener;

// An entry of the preset menu: picking it selects its preset.
class PresetSelectorMenuListener : public ravik::MenuListenerInterface
{
public:
    PresetSelectorMenuListener(PresetSelectorListener& selector, int index)
        : selector_(selector)
        , index_(index)
    {
    }

    void on_select() override;

private:
    PresetSelectorListener& selector_;
    int index_;
};

// The preset menu, opened by a press on the listener's control (notify 0, or 1 from a text box
// that is not editable): a first line naming the mode, "Load preset" or "Store preset", then
// " 1 - " and the name of each preset, the current one checked. Editor thread.
class PresetSelectorListener : public PresetSelectionListenerBase
{
public:
    using PresetSelectionListenerBase::PresetSelectionListenerBase;

    // Refreshes the menu and asks the window to show it below the cursor; -1 without a control
    // or a window that shows menus.
    int show_menu();
    // The menu as it was last refreshed.
    ravik::MenuList& use_menu() { return menu_; }
    void refresh_menu();
    void select(int index);

    void notify(int code, void* data) override;

private:
    ravik::MenuList menu_;
    ravik::MenuDelimiter title_;
    // Stable addresses: the menu points to them.
    std::deque<ravik::MenuItem> items_;
    std::deque<PresetSelectorMenuListener> item_listeners_;
};

} // namespace plux
