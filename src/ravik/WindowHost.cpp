#include "ravik/WindowHost.hpp"

#include <algorithm>

#include "ravik/GraphicMessages.hpp"
#include "ravik/Menu.hpp"
#include "ravik/MenuMessages.hpp"
#include "ravik/MouseMessages.hpp"
#include "ravik/SPTreeNodeInterface.hpp"
#include "ravik/TextLineEditorInterface.hpp"
#include "ravik/TextMessages.hpp"
#include "ravik/TimerMessages.hpp"
#include "sys/Clock.hpp"

namespace ravik
{

namespace
{

double now_ms()
{
    return sys::get_time_s() * 1000.0;
}

} // namespace

WindowHost::WindowHost(const Point& size)
    : WindowInterface(size)
{
}

Point WindowHost::get_native_size() const
{
    return get_fit() ? get_content_size() : get_window_size();
}

void WindowHost::show_cursor()
{
    if (cursor_hidden_)
    {
        cursor_hidden_ = false;
        show_cursor_native(true);
    }
}

void WindowHost::end_text_entry_native()
{
    if (TextLineEditorInterface* editor = get_text_editor();
        editor != nullptr && editor->is_active())
    {
        editor->set_validated(true);
        editor->finish();
    }
}

MessageHandlerInterface* WindowHost::mouse_target(Point& pos)
{
    MessageHandlerInterface* holder = get_capture();
    if (holder == nullptr)
    {
        return get_control_root();
    }
    if (get_capture_mode() == capture::relative)
    {
        const Point motion = pos - cursor_;
        cursor_ = pos;
        const double now = now_ms();
        if (now - last_recentre_ms_ >= recentre_interval_ms &&
            now - capture_start_ms_ >= min_drag_ms)
        {
            cursor_ = get_capture_hot_spot();
            last_recentre_ms_ = now;
            set_cursor_native(cursor_);
        }
        pos = motion;
    }
    return holder;
}

void WindowHost::on_mouse_button(const Point& pos, int buttons, int modifiers, int double_click)
{
    // Over a text field the field takes the mouse, as a system's edit control does.
    if (const TextLineEditorInterface* editor = get_text_editor();
        editor != nullptr && editor->is_active() && editor->get_rect().contains(pos))
    {
        return;
    }
    end_text_entry_native();
    Point p = pos;
    if (MessageHandlerInterface* target = mouse_target(p))
    {
        MouseClick click(p, buttons, modifiers, double_click);
        target->process_message(click);
    }
}

void WindowHost::on_mouse_move(const Point& pos)
{
    timers_.poll();
    send_direct_moves(pos);
    Point p = pos;
    if (MessageHandlerInterface* target = mouse_target(p))
    {
        MouseMove move(p);
        target->process_message(move);
    }
}

void WindowHost::on_mouse_wheel(const Point& pos, float steps, int modifiers)
{
    Point p = pos;
    if (MessageHandlerInterface* target = mouse_target(p))
    {
        MouseWheelMove wheel(p, steps, modifiers);
        target->process_message(wheel);
    }
}

void WindowHost::on_capture_changed()
{
    end_text_entry_native();
    show_cursor();
    release_capture();
}

void WindowHost::on_paint(const Rect& update)
{
    timers_.poll();
    const Point content = get_content_size();
    const Rect rect{std::max(update.x1, 0), std::max(update.y1, 0), std::min(update.x2, content.x),
                    std::min(update.y2, content.y)};
    if (rect.x1 < rect.x2 && rect.y1 < rect.y2)
    {
        redraw(rect);
    }
    fill_outside_native(update);
}

void WindowHost::on_destroyed()
{
    show_cursor();
}

std::int32_t WindowHost::capture(MessageHandlerInterface* holder, int mode)
{
    if (!take_capture_native())
    {
        return -1;
    }
    capture_thread_ = std::this_thread::get_id();
    if (mode == capture::hidden || mode == capture::relative)
    {
        if (!cursor_hidden_)
        {
            cursor_hidden_ = true;
            show_cursor_native(false);
        }
        capture_start_ms_ = now_ms();
        last_recentre_ms_ = capture_start_ms_;
    }
    cursor_ = get_cursor_native();
    set_capture(holder, mode, cursor_);
    return 0;
}

std::int32_t WindowHost::release(const MouseRelease& message)
{
    if (capture_thread_ != std::this_thread::get_id())
    {
        return -1;
    }
    if (get_capture_mode() == capture::relative && now_ms() - capture_start_ms_ >= min_drag_ms)
    {
        set_cursor_native(message.has_pos ? message.pos : get_capture_hot_spot());
    }
    capture_thread_ = {};
    return release_capture_native() ? 0 : -1;
}

std::int32_t WindowHost::start_text_entry(const TextInputRequest& message)
{
    TextLineEditorInterface* editor = get_text_editor();
    if (editor == nullptr)
    {
        return -1;
    }
    if (editor->is_active())
    {
        // As leaving its field would.
        editor->set_validated(true);
        editor->finish();
    }
    return editor->start(message);
}

std::int32_t WindowHost::process_message(MessageInterface& message)
{
    if (!is_open_native() || dynamic_cast<MessageUp*>(&message) == nullptr)
    {
        return -1;
    }
    if (const auto* m = dynamic_cast<Invalidate*>(&message))
    {
        const Point content = get_content_size();
        const Rect rect{std::clamp(m->rect.x1, 0, content.x), std::clamp(m->rect.y1, 0, content.y),
                        std::clamp(m->rect.x2, 0, content.x), std::clamp(m->rect.y2, 0, content.y)};
        if (rect.x1 < rect.x2 && rect.y1 < rect.y2)
        {
            invalidate_native(rect);
        }
        return 0;
    }
    if (const auto* m = dynamic_cast<MouseCapture*>(&message))
    {
        return capture(m->handler, m->mode);
    }
    if (const auto* m = dynamic_cast<MouseRelease*>(&message))
    {
        return release(*m);
    }
    if (const auto* m = dynamic_cast<MouseDirectCapture*>(&message))
    {
        add_direct_handler(m->handler);
        return 0;
    }
    if (const auto* m = dynamic_cast<MouseDirectRelease*>(&message))
    {
        remove_direct_handler(m->handler);
        return 0;
    }
    if (const auto* m = dynamic_cast<SetTimer*>(&message))
    {
        const int ret = timers_.set(*m);
        if (ret == 0)
        {
            set_timer_handler(m->id, m->handler);
        }
        return ret;
    }
    if (const auto* m = dynamic_cast<ClearTimer*>(&message))
    {
        erase_timer_handler(m->id);
        return timers_.clear(*m);
    }
    if (const auto* m = dynamic_cast<TextInputRequest*>(&message))
    {
        return start_text_entry(*m);
    }
    if (const auto* m = dynamic_cast<TextInputStop*>(&message))
    {
        TextLineEditorInterface* editor = get_text_editor();
        if (editor == nullptr || !editor->is_active())
        {
            return -1;
        }
        editor->set_validated(m->validate);
        editor->finish();
        return 0;
    }
    if (auto* m = dynamic_cast<MenuRequest*>(&message))
    {
        return get_menu() != nullptr ? get_menu()->show(*m) : -1;
    }
    if (dynamic_cast<MenuStop*>(&message) != nullptr)
    {
        return get_menu() != nullptr ? get_menu()->stop() : -1;
    }
    return -1;
}

} // namespace ravik
