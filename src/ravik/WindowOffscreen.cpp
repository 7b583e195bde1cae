#include "ravik/WindowOffscreen.hpp"

#include <algorithm>

#include "ravik/MenuMessages.hpp"
#include "ravik/MenuNodes.hpp"
#include "ravik/TextMessages.hpp"

namespace ravik
{

std::unique_ptr<RenderingBufferMemory> TextLineEditorOffscreen::render() const
{
    auto field = std::make_unique<RenderingBufferMemory>(rect_.x2 - rect_.x1, rect_.y2 - rect_.y1);
    draw(*field);
    return field;
}

int TextLineEditorOffscreen::open_field(const Rect& /*rect*/)
{
    return 0;
}

Point MenuOffscreen::get_cursor_native() const
{
    return window_.get_cursor();
}

std::unique_ptr<RenderingBufferMemory> MenuOffscreen::render(int level) const
{
    const Point size = use_panel(level).get_size();
    auto panel = std::make_unique<RenderingBufferMemory>(size.x, size.y);
    draw_panel(level, *panel);
    return panel;
}

bool MenuOffscreen::pick(const std::string& label)
{
    return is_shown() && pick_in(0, label);
}

bool MenuOffscreen::pick_in(int level, const std::string& label)
{
    const MenuPanel& panel = use_panel(level);
    for (int row = 0; row < panel.get_nbr_rows(); ++row)
    {
        if (!panel.is_selectable(row))
        {
            continue;
        }
        const Rect r = get_row_rect(level, row);
        const Point centre{(r.x1 + r.x2) / 2, (r.y1 + r.y2) / 2};
        const MenuPanel::Row& entry = panel.get_row(row);
        if (entry.kind == MenuPanel::Kind::item && entry.node->get_label() == label)
        {
            on_move(centre);
            on_button(centre, true);
            on_button(centre, false);
            return true;
        }
        if (entry.kind == MenuPanel::Kind::submenu)
        {
            on_move(centre);
            if (get_nbr_panels() > level + 1 && pick_in(level + 1, label))
            {
                return true;
            }
        }
    }
    return false;
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

void WindowOffscreen::set_font(const FontInterface* font)
{
    editor_.set_font(font);
    menu_.set_font(font);
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
