#include "ravik/WindowInterface.hpp"

#include <algorithm>
#include <vector>

#include "ravik/ControlInterface.hpp"
#include "ravik/GraphicMessages.hpp"
#include "ravik/MouseMessages.hpp"
#include "ravik/RenderingBufferInterface.hpp"
#include "ravik/SPTreeNodeInterface.hpp"

namespace ravik
{

namespace
{

void send(SPTreeNodeInterface* node, MessageInterface& message)
{
    if (node != nullptr)
    {
        node->process_message(message);
    }
}

} // namespace

int WindowInterface::open(void* parent)
{
    if (const int ret = open_native(parent); ret != 0)
    {
        return ret;
    }
    ShowObject show(true);
    send(background_root_, show);
    send(control_root_, show);
    return 0;
}

void WindowInterface::close()
{
    Disconnecting bye;
    send(control_root_, bye);
    send(background_root_, bye);
    ShowObject hide(false);
    send(control_root_, hide);
    send(background_root_, hide);
    close_native();
}

void WindowInterface::set_background_root(SPTreeNodeInterface* root)
{
    background_root_ = root;
    if (root != nullptr)
    {
        root->set_parent(this);
    }
}

void WindowInterface::set_control_root(SPTreeNodeInterface* root)
{
    control_root_ = root;
    if (root != nullptr)
    {
        root->set_parent(this);
    }
}

void WindowInterface::redraw(const Rect& rect)
{
    RedrawBegin begin(rect);
    send(background_root_, begin);
    send(control_root_, begin);
    if (buffer_ != nullptr && buffer_->get_width() > 0 && buffer_->get_height() > 0)
    {
        const int w = buffer_->get_width();
        const int h = buffer_->get_height();
        for (long long x = rect.x1; x < rect.x2; x += w)
        {
            for (long long y = rect.y1; y < rect.y2; y += h)
            {
                const Rect tile{static_cast<int>(x), static_cast<int>(y),
                                static_cast<int>(std::min<long long>(x + w, rect.x2)),
                                static_cast<int>(std::min<long long>(y + h, rect.y2))};
                Redraw paint(tile, *buffer_);
                send(background_root_, paint);
                send(control_root_, paint);
                buffer_->blit({tile.x1, tile.y1}, {tile.x2 - tile.x1, tile.y2 - tile.y1});
            }
        }
    }
    RedrawEnd end(rect);
    send(background_root_, end);
    send(control_root_, end);
}

void WindowInterface::set_capture(MessageHandlerInterface* handler, int mode, const Point& hot_spot)
{
    if (handler == capture_)
    {
        return;
    }
    if (MessageHandlerInterface* former = capture_)
    {
        capture_ = nullptr;
        MouseCaptureLost lost;
        former->process_message(lost);
    }
    capture_ = handler;
    capture_mode_ = mode;
    hot_spot_ = mode == capture::relative ? hot_spot : Point{};
}

void WindowInterface::release_capture()
{
    if (MessageHandlerInterface* former = capture_)
    {
        capture_ = nullptr;
        MouseCaptureLost lost;
        former->process_message(lost);
    }
}

MessageHandlerInterface* WindowInterface::find_timer_handler(int id) const
{
    const auto it = timers_.find(id);
    return it != timers_.end() ? it->second : nullptr;
}

int WindowInterface::erase_timer_handler(int id)
{
    return timers_.erase(id) != 0 ? 0 : -1;
}

void WindowInterface::send_direct_moves(const Point& pos)
{
    // A handler may leave the set while it is told.
    const std::vector<MessageHandlerInterface*> handlers(direct_.begin(), direct_.end());
    for (MessageHandlerInterface* handler : handlers)
    {
        if (direct_.count(handler) == 0)
        {
            continue;
        }
        Point origin;
        if (const auto* control = dynamic_cast<ControlInterface*>(handler))
        {
            origin = control->get_abs_position();
        }
        else if (const auto* node = dynamic_cast<SPTreeNodeInterface*>(handler))
        {
            origin = node->get_position();
        }
        MouseDirectMove move(pos - origin);
        handler->process_message(move);
    }
}

void WindowInterface::set_content_size(const Point& size)
{
    content_size_ = size;
    on_content_resized();
}

} // namespace ravik
