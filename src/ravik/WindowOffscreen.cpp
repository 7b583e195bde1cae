#include "ravik/WindowOffscreen.hpp"

#include <algorithm>

#include "ravik/MenuMessages.hpp"
#include "ravik/MenuNodes.hpp"
#include "ravik/TextMessages.hpp"

namespace ravik
{

void TextLineEditorOffscreen::press_enter()
{
    set_validated(true);
    finish();
}

void TextLineEditorOffscreen::press_escape()
{
    set_validated(false);
    finish();
}

int TextLineEditorOffscreen::start_native(const TextInputRequest& /*request*/)
{
    return 0;
}

int MenuOffscreen::show(MenuRequest& request)
{
    root_ = request.root;
    pos_ = window_.get_cursor() + request.offset;
    return 0;
}

int MenuOffscreen::stop()
{
    const bool was_shown = root_ != nullptr;
    root_ = nullptr;
    return was_shown ? 0 : -1;
}

namespace
{

MenuItem* find_pickable(const MenuList& list, const std::string& label)
{
    if (list.is_disabled())
    {
        return nullptr;
    }
    for (int i = 0; i < list.size(); ++i)
    {
        MenuNodeInterface& node = list.at(i);
        if (!node.is_shown())
        {
            continue;
        }
        if (const auto* sub = dynamic_cast<const MenuList*>(&node))
        {
            if (MenuItem* item = find_pickable(*sub, label))
            {
                return item;
            }
        }
        else if (auto* item = dynamic_cast<MenuItem*>(&node);
                 item != nullptr && !item->is_disabled() && item->get_label() == label)
        {
            return item;
        }
    }
    return nullptr;
}

} // namespace

bool MenuOffscreen::pick(const std::string& label)
{
    MenuItem* item = root_ != nullptr ? find_pickable(*root_, label) : nullptr;
    if (item == nullptr)
    {
        return false;
    }
    // The menu is gone before the pick is acted on, as the system's pop-ups are.
    stop();
    if (MenuListenerInterface* listener = item->get_listener())
    {
        listener->on_select();
    }
    return true;
}

WindowOffscreen::WindowOffscreen(const Point& size)
    : WindowHost(size)
{
    set_rendering_buffer(&tile_);
    set_text_editor(&editor_);
    set_menu(&menu_);
    make_screen();
}

void WindowOffscreen::make_screen()
{
    const Point size = get_native_size();
    screen_ = std::make_unique<RenderingBufferMemory>(size.x, size.y);
    tile_.set_target(screen_.get());
}

WindowOffscreen::~WindowOffscreen()
{
    if (open_)
    {
        close_native();
    }
}

int WindowOffscreen::open_native(void* /*parent*/)
{
    if (!open_)
    {
        open_ = true;
        make_screen();
        dirty_ = {0, 0, screen_->get_width(), screen_->get_height()};
    }
    return 0;
}

void WindowOffscreen::close_native()
{
    open_ = false;
    captured_ = false;
    use_timers().clear_all();
    on_destroyed();
}

void WindowOffscreen::on_content_resized()
{
    if (open_ && get_fit())
    {
        make_screen();
    }
    const Point size = get_native_size();
    invalidate_native({0, 0, size.x, size.y});
}

void WindowOffscreen::invalidate_native(const Rect& rect)
{
    if (!is_dirty())
    {
        dirty_ = rect;
        return;
    }
    dirty_ = {std::min(dirty_.x1, rect.x1), std::min(dirty_.y1, rect.y1),
              std::max(dirty_.x2, rect.x2), std::max(dirty_.y2, rect.y2)};
}

bool WindowOffscreen::take_capture_native()
{
    captured_ = true;
    return true;
}

bool WindowOffscreen::release_capture_native()
{
    if (!captured_)
    {
        return false;
    }
    captured_ = false;
    on_capture_changed();
    return true;
}

void WindowOffscreen::set_cursor_native(const Point& pos)
{
    cursor_ = pos;
    ++nbr_cursor_moves_;
}

void WindowOffscreen::fill_outside_native(const Rect& update)
{
    const Point content = get_content_size();
    for (int y = std::max(update.y1, 0); y < std::min(update.y2, screen_->get_height()); ++y)
    {
        for (int x = std::max(update.x1, 0); x < std::min(update.x2, screen_->get_width()); ++x)
        {
            if (x >= content.x || y >= content.y)
            {
                screen_->set_pixel(x, y, outside_fill);
            }
        }
    }
}

void WindowOffscreen::press(const Point& pos, int button, int modifiers)
{
    cursor_ = pos;
    buttons_ |= button;
    on_mouse_button(pos, buttons_, modifiers, 0);
}

void WindowOffscreen::release(const Point& pos, int modifiers)
{
    cursor_ = pos;
    buttons_ = 0;
    on_mouse_button(pos, buttons_, modifiers, 0);
}

void WindowOffscreen::double_click(const Point& pos, int button)
{
    cursor_ = pos;
    buttons_ |= button;
    on_mouse_button(pos, buttons_, 0, button);
}

void WindowOffscreen::move(const Point& pos)
{
    cursor_ = pos;
    on_mouse_move(pos);
}

void WindowOffscreen::wheel(const Point& pos, float notches, int modifiers)
{
    cursor_ = pos;
    on_mouse_wheel(pos, notches, modifiers);
}

void WindowOffscreen::paint()
{
    if (is_dirty())
    {
        const Rect rect = dirty_;
        dirty_ = {};
        on_paint(rect);
    }
}

void WindowOffscreen::paint_all()
{
    dirty_ = {};
    on_paint({0, 0, screen_->get_width(), screen_->get_height()});
}

} // namespace ravik
