#pragma once

#include <vector>

#include "ravik/SPTreeNodeInterface.hpp"

namespace ravik
{

// Lays its children out one after the other, each taking its size in pixels: top to bottom with
// orientation 0, left to right otherwise. A down message goes to the children its area covers.
class SPTreeSplit : public virtual SPTreeNodeInterface
{
public:
    static constexpr int top_to_bottom = 0;
    static constexpr int left_to_right = 1;

    SPTreeSplit() = default;
    explicit SPTreeSplit(int orientation)
        : orientation_(orientation)
    {
    }

    // Both answer the new number of children.
    int push_back(SPTreeNodeInterface& child, int size);
    int insert(SPTreeNodeInterface& child, int size, int index);
    // 0, or -1 when index is outside the children.
    int replace(SPTreeNodeInterface& child, int size, int index);
    int remove(int index);
    int offset_of(int index) const;
    int get_nbr_children() const { return static_cast<int>(entries_.size()); }
    SPTreeNodeInterface& use_child(int index) const { return *entries_.at(index).child; }

    void set_position(const Point& pos) override;
    std::int32_t process_down(MessageInterface& message) override;

private:
    struct Entry
    {
        SPTreeNodeInterface* child;
        int size;
    };

    bool is_vertical() const { return orientation_ == top_to_bottom; }
    int child_at(int coordinate) const;
    void lay_out();
    void show_child(SPTreeNodeInterface& child, bool shown);

    int orientation_ = -1;
    std::vector<Entry> entries_;
    bool children_changed_ = false;
};

} // namespace ravik
