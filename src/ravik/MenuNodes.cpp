#include "ravik/MenuNodes.hpp"

#include <algorithm>

namespace ravik
{

int MenuList::append(MenuNodeInterface& node)
{
    children_.push_back(&node);
    return size();
}

int MenuList::insert(MenuNodeInterface& node, int index)
{
    children_.insert(children_.begin() + std::clamp(index, 0, size()), &node);
    return size();
}

int MenuList::remove(int index)
{
    if (index >= 0 && index < size())
    {
        children_.erase(children_.begin() + index);
    }
    return size();
}

int MenuList::remove(const MenuNodeInterface& node)
{
    std::erase(children_, &node);
    return size();
}

MenuItem::MenuItem(std::string label)
    : MenuNodeInterface(std::move(label))
    , id_(MenuIdGenerator::next())
{
}

MenuItem::MenuItem(std::string label, bool disabled, bool second, bool checked)
    : MenuNodeInterface(std::move(label))
    , id_(MenuIdGenerator::next())
    , disabled_(disabled)
    , second_(second)
    , checked_(checked)
{
}

MenuItem::MenuItem(const MenuItem& other)
    : MenuNodeInterface(other)
    , id_(MenuIdGenerator::next())
    , listener_(other.listener_)
    , disabled_(other.disabled_)
    , second_(other.second_)
    , checked_(other.checked_)
{
}

MenuItem& MenuItem::operator=(const MenuItem& other)
{
    MenuNodeInterface::operator=(other);
    listener_ = other.listener_;
    disabled_ = other.disabled_;
    second_ = other.second_;
    checked_ = other.checked_;
    return *this;
}

void MenuItem::set_listener(MenuListenerInterface* listener)
{
    listener_ = listener;
    if (listener != nullptr)
    {
        listener->item_ = this;
    }
}

MenuItem* find_item(const MenuList& list, int id)
{
    for (int i = 0; i < list.size(); ++i)
    {
        MenuNodeInterface& node = list.at(i);
        if (const auto* sub = dynamic_cast<const MenuList*>(&node))
        {
            if (MenuItem* found = find_item(*sub, id))
            {
                return found;
            }
        }
        if (auto* item = dynamic_cast<MenuItem*>(&node); item != nullptr && item->get_id() == id)
        {
            return item;
        }
    }
    return nullptr;
}

std::string double_ampersands(const std::string& label)
{
    std::string out;
    out.reserve(label.size());
    for (const char c : label)
    {
        out += c;
        if (c == '&')
        {
            out += '&';
        }
    }
    return out;
}

std::string delimiter_text(const std::string& label)
{
    constexpr std::size_t width = 40;
    std::string out = "--- " + label.substr(0, 123) + " ";
    if (out.size() < width)
    {
        out.append(width - out.size(), '-');
    }
    return out;
}

} // namespace ravik
