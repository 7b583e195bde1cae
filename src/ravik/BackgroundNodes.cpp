#include "ravik/BackgroundNodes.hpp"

#include "ravik/GraphicMessages.hpp"

namespace ravik
{

void BackgroundItem::invalidate()
{
    Invalidate message(picture_.get_bounding_box().moved(pos_));
    process_message(message);
}

std::int32_t BackgroundItem::process_down(MessageInterface& message)
{
    if (auto* redraw = dynamic_cast<Redraw*>(&message))
    {
        picture_.draw(redraw->area.moved({-pos_.x, -pos_.y}), redraw->buffer);
    }
    return 0;
}

} // namespace ravik
