#include "plux/preset/PresetSelectorListener.hpp"

#include <cstdio>

#include "plux/preset/PresetManager.hpp"
#include "ravik/ControlInterface.hpp"
#include "ravik/MenuMessages.hpp"
#include "ravik/widget/TextBox.hpp"

namespace plux
{

void PresetSelectorMenuListener::on_select()
{
    selector_.select(index_);
}

void PresetSelectorListener::refresh_menu()
{
    const int count = mgr_.get_nbr_presets();
    while (static_cast<int>(items_.size()) < count)
    {
        item_listeners_.emplace_back(*this, static_cast<int>(items_.size()));
        items_.emplace_back().set_listener(&item_listeners_.back());
    }
    title_.set_label(mgr_.is_store_mode() ? "Store preset" : "Load preset");
    menu_.clear();
    menu_.append(title_);
    for (int i = 0; i < count; ++i)
    {
        char number[16];
        std::snprintf(number, sizeof(number), "%2d - ", i + 1);
        ravik::MenuItem& item = items_[static_cast<std::size_t>(i)];
        item.set_label(number + std::string(mgr_.use_bank().use_prog(i).get_name()));
        item.set_checked(i == mgr_.get_current());
        menu_.append(item);
    }
}

int PresetSelectorListener::show_menu()
{
    ravik::ControlInterface* control = get_control();
    if (control == nullptr)
    {
        return -1;
    }
    refresh_menu();
    ravik::MenuRequest request(menu_);
    return control->process_message(request) == 0 ? 0 : -1;
}

void PresetSelectorListener::select(int index)
{
    mgr_.select(index, *this);
}

void PresetSelectorListener::notify(int code, void* /*data*/)
{
    if (code == 0 || code == ravik::TextBox::clicked)
    {
        show_menu();
    }
}

} // namespace plux
