#include "ravik/SPTreeSplit.hpp"

#include <algorithm>

#include "ravik/MessageInterface.hpp"

namespace ravik
{

void SPTreeSplit::show_child(SPTreeNodeInterface& child, bool shown)
{
    ShowObject show(shown);
    child.process_message(show);
}

int SPTreeSplit::push_back(SPTreeNodeInterface& child, int size)
{
    return insert(child, size, get_nbr_children());
}

int SPTreeSplit::insert(SPTreeNodeInterface& child, int size, int index)
{
    index = std::clamp(index, 0, get_nbr_children());
    child.set_parent(this);
    entries_.insert(entries_.begin() + index, Entry{&child, size});
    lay_out();
    show_child(child, shown_);
    children_changed_ = true;
    return get_nbr_children();
}

int SPTreeSplit::replace(SPTreeNodeInterface& child, int size, int index)
{
    if (index < 0 || index >= get_nbr_children())
    {
        return -1;
    }
    Entry& entry = entries_[static_cast<std::size_t>(index)];
    show_child(*entry.child, false);
    entry.child->set_parent(nullptr);
    entry = Entry{&child, size};
    child.set_parent(this);
    lay_out();
    show_child(child, shown_);
    children_changed_ = true;
    return 0;
}

int SPTreeSplit::remove(int index)
{
    if (index < 0 || index >= get_nbr_children())
    {
        return -1;
    }
    show_child(*entries_[static_cast<std::size_t>(index)].child, false);
    entries_.erase(entries_.begin() + index);
    lay_out();
    children_changed_ = true;
    return 0;
}

int SPTreeSplit::offset_of(int index) const
{
    int offset = 0;
    for (int i = 0; i < index && i < get_nbr_children(); ++i)
    {
        offset += entries_[static_cast<std::size_t>(i)].size;
    }
    return offset;
}

void SPTreeSplit::lay_out()
{
    // Nothing to place before the split itself is placed.
    if (is_placed())
    {
        set_position(pos_);
    }
}

void SPTreeSplit::set_position(const Point& pos)
{
    pos_ = pos;
    Point at = pos;
    for (const Entry& entry : entries_)
    {
        entry.child->set_position(at);
        (is_vertical() ? at.y : at.x) += entry.size;
    }
    area_ = is_vertical() ? Rect{pos.x, pos.y, area_.x2, at.y} : Rect{pos.x, pos.y, at.x, area_.y2};
}

int SPTreeSplit::child_at(int coordinate) const
{
    int start = is_vertical() ? pos_.y : pos_.x;
    const int last = get_nbr_children() - 1;
    for (int i = 0; i < last; ++i)
    {
        start += entries_[static_cast<std::size_t>(i)].size;
        if (coordinate < start)
        {
            return i;
        }
    }
    return last;
}

std::int32_t SPTreeSplit::process_down(MessageInterface& message)
{
    const auto* down = dynamic_cast<MessageDown*>(&message);
    if (down == nullptr || entries_.empty())
    {
        return 0;
    }
    // The last pixel of the area, not the exclusive edge: a tile that ends where a child begins
    // does not concern that child.
    const Rect& a = down->area;
    const int first = child_at(is_vertical() ? a.y1 : a.x1);
    const int last = child_at(is_vertical() ? std::max(a.y1, a.y2 - 1) : std::max(a.x1, a.x2 - 1));
    children_changed_ = false;
    for (int i = first; i <= last && !children_changed_; ++i)
    {
        entries_[static_cast<std::size_t>(i)].child->process_message(message);
    }
    return 0;
}

} // namespace ravik
