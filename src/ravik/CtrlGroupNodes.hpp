#pragma once

#include <vector>

#include "ravik/SPTreeSplit.hpp"

namespace ravik
{

class ControlInterface;

// The control tree: groups of controls, laid out by splits.
class CtrlGroupNodeInterface : public virtual SPTreeNodeInterface
{
};

class CtrlGroupSplit : public CtrlGroupNodeInterface, public SPTreeSplit
{
public:
    using SPTreeSplit::SPTreeSplit;
};

// A group of controls placed relative to the item, and of child groups placed at the item's
// position. Mouse messages reach the topmost first (the last added), so controls drawn over
// others take the clicks; every other message goes first to last, children before controls.
// Neither controls nor children are owned.
class CtrlGroupItem : public CtrlGroupNodeInterface
{
public:
    // Both answer the new count.
    int add_control(ControlInterface& control);
    int add_child(CtrlGroupNodeInterface& child);
    // 0, or -1 when it is not in the item.
    int remove_control(ControlInterface& control);
    int remove_control(int index);
    int remove_child(CtrlGroupNodeInterface& child);

    int get_nbr_controls() const { return static_cast<int>(controls_.size()); }
    ControlInterface& use_control(int index) const { return *controls_.at(index); }
    int get_nbr_children() const { return static_cast<int>(children_.size()); }

    // Every shown control asks for a repaint.
    void invalidate_all();

    void set_position(const Point& pos) override;
    std::int32_t process_down(MessageInterface& message) override;

private:
    bool concerns(const ControlInterface& control, const Rect& area) const;
    std::int32_t send_to_controls(MessageInterface& message, const Rect& area, bool topmost_first);
    std::int32_t send_to_children(MessageInterface& message, bool last_first);

    std::vector<CtrlGroupNodeInterface*> children_;
    std::vector<ControlInterface*> controls_;
    bool controls_changed_ = false;
    bool children_changed_ = false;
};

} // namespace ravik
