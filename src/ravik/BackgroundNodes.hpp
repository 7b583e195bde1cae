#pragma once

#include "ravik/Picture.hpp"
#include "ravik/SPTreeSplit.hpp"

namespace ravik
{

// The background tree: pictures drawn under the controls in every tile.
class BackgroundNodeInterface : public virtual SPTreeNodeInterface
{
};

class BackgroundSplit : public BackgroundNodeInterface, public SPTreeSplit
{
public:
    using SPTreeSplit::SPTreeSplit;
};

// A leaf that draws one picture, its origin at the item's position.
class BackgroundItem : public BackgroundNodeInterface
{
public:
    BackgroundItem() = default;
    explicit BackgroundItem(const Picture& picture)
        : picture_(picture)
    {
    }

    void set_picture(const Picture& picture) { picture_ = picture; }
    const Picture& use_picture() const { return picture_; }

    // Asks for a repaint of the picture's box.
    void invalidate();
    std::int32_t process_down(MessageInterface& message) override;

private:
    Picture picture_;
};

} // namespace ravik
