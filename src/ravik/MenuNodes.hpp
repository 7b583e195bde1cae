#pragma once

#include <atomic>
#include <string>
#include <utility>
#include <vector>

namespace ravik
{

class MenuItem;

// What a menu item does when the user picks it.
class MenuListenerInterface
{
public:
    virtual ~MenuListenerInterface() = default;

    virtual void on_select() = 0;
    MenuItem* get_item() const { return item_; }

private:
    friend class MenuItem;
    MenuItem* item_ = nullptr;
};

// A node of a pop-up menu; hidden nodes are left out of the pop-up.
class MenuNodeInterface
{
public:
    explicit MenuNodeInterface(std::string label = {})
        : label_(std::move(label))
    {
    }
    virtual ~MenuNodeInterface() = default;

    const std::string& get_label() const { return label_; }
    void set_label(std::string label) { label_ = std::move(label); }
    bool is_shown() const { return shown_; }
    void set_shown(bool shown) { shown_ = shown; }

private:
    std::string label_;
    bool shown_ = true;
};

// A submenu; the root list is the menu. Children are not owned.
class MenuList : public MenuNodeInterface
{
public:
    using MenuNodeInterface::MenuNodeInterface;

    // Each answers the new count.
    int append(MenuNodeInterface& node);
    int insert(MenuNodeInterface& node, int index);
    int remove(int index);
    // Every occurrence.
    int remove(const MenuNodeInterface& node);
    void clear() { children_.clear(); }
    int size() const { return static_cast<int>(children_.size()); }
    MenuNodeInterface& at(int index) const
    {
        return *children_.at(static_cast<std::size_t>(index));
    }

    bool is_disabled() const { return disabled_; }
    void set_disabled(bool disabled) { disabled_ = disabled; }

private:
    std::vector<MenuNodeInterface*> children_;
    bool disabled_ = false;
};

// A line the user can pick. Every item, copies included, takes a new process-wide identifier.
class MenuItem : public MenuNodeInterface
{
public:
    class MenuIdGenerator
    {
    public:
        static int next() noexcept { return ++counter_; }

    private:
        static inline std::atomic<int> counter_{0};
    };

    explicit MenuItem(std::string label = {});
    MenuItem(std::string label, bool disabled, bool second, bool checked);
    MenuItem(const MenuItem& other);
    MenuItem& operator=(const MenuItem& other);

    int get_id() const { return id_; }
    // Not owned; the listener learns its item.
    void set_listener(MenuListenerInterface* listener);
    MenuListenerInterface* get_listener() const { return listener_; }
    bool is_disabled() const { return disabled_; }
    void set_disabled(bool disabled) { disabled_ = disabled; }
    bool get_second() const { return second_; }
    void set_second(bool second) { second_ = second; }
    bool is_checked() const { return checked_; }
    void set_checked(bool checked) { checked_ = checked; }

private:
    int id_;
    MenuListenerInterface* listener_ = nullptr;
    bool disabled_ = false;
    bool second_ = true;
    bool checked_ = false;
};

// A separator; with a label, a titled one.
class MenuDelimiter : public MenuNodeInterface
{
public:
    using MenuNodeInterface::MenuNodeInterface;
};

// Depth first, submenus before the item itself: the first item with that identifier, or null.
MenuItem* find_item(const MenuList& list, int id);

// The texts of a pop-up's lines. Windows reads '&' as a mnemonic, so it is doubled there.
std::string double_ampersands(const std::string& label);
// Three dashes, a space, the label (at most 123 characters), a space, and dashes up to 40.
std::string delimiter_text(const std::string& label);

} // namespace ravik
