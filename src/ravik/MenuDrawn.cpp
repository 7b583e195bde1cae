#include "ravik/MenuDrawn.hpp"

#include <algorithm>

#include "ravik/MenuMessages.hpp"
#include "ravik/MenuNodes.hpp"

namespace ravik
{

namespace
{

// Keeps a span of length size starting at want inside [low, high), flipping it to end at flip
// first when it would run past high.
int place(int want, int size, int flip, int low, int high)
{
    const int start = want + size <= high ? want : flip - size;
    return std::max(std::min(start, high - size), low);
}

} // namespace

int MenuDrawn::show(MenuRequest& request)
{
    if (is_shown())
    {
        stop();
    }
    if (font_ == nullptr || request.root == nullptr)
    {
        return -1;
    }
    screen_ = get_screen_native();
    armed_ = false;
    Level root;
    root.panel = std::make_unique<MenuPanel>(*request.root, *font_);
    const Point want = get_cursor_native() + request.offset;
    const Point size = root.panel->get_size();
    root.pos = {place(want.x, size.x, want.x, screen_.x1, screen_.x2),
                place(want.y, size.y, want.y, screen_.y1, screen_.y2)};
    levels_.push_back(std::move(root));
    root_ = request.root;
    if (open_native() != 0)
    {
        levels_.clear();
        root_ = nullptr;
        return -1;
    }
    return 0;
}

int MenuDrawn::stop()
{
    if (!is_shown())
    {
        return -1;
    }
    levels_.clear();
    root_ = nullptr;
    close_native();
    return 0;
}

Rect MenuDrawn::get_panel_rect(int level) const
{
    const Level& l = at(level);
    const Point size = l.panel->get_size();
    return {l.pos.x, l.pos.y, l.pos.x + size.x, l.pos.y + size.y};
}

Rect MenuDrawn::get_row_rect(int level, int row) const
{
    const Level& l = at(level);
    const MenuPanel::Row& r = l.panel->get_row(row);
    return Rect{MenuPanel::border, r.top, l.panel->get_size().x - MenuPanel::border,
                r.top + r.height}
        .moved(l.pos);
}

void MenuDrawn::draw_panel(int level, RenderingBufferInterface& buffer) const
{
    const Level& l = at(level);
    l.panel->draw(buffer, l.highlighted);
}

int MenuDrawn::level_at(const Point& pos) const
{
    for (int level = get_nbr_panels() - 1; level >= 0; --level)
    {
        const Rect r = get_panel_rect(level);
        if (pos.x >= r.x1 && pos.x < r.x2 && pos.y >= r.y1 && pos.y < r.y2)
        {
            return level;
        }
    }
    return -1;
}

void MenuDrawn::close_below(int level)
{
    levels_.resize(static_cast<std::size_t>(level) + 1);
}

void MenuDrawn::open_submenu(int row)
{
    const int parent = get_nbr_panels() - 1;
    const Rect outer = get_panel_rect(parent);
    const MenuPanel::Row& entry = at(parent).panel->get_row(row);
    Level sub;
    sub.panel = std::make_unique<MenuPanel>(static_cast<const MenuList&>(*entry.node), *font_);
    sub.parent_row = row;
    const Point size = sub.panel->get_size();
    sub.pos = {place(outer.x2 - submenu_overlap, size.x, outer.x1 + submenu_overlap, screen_.x1,
                     screen_.x2),
               place(outer.y1 + entry.top - MenuPanel::border, size.y, screen_.y2, screen_.y1,
                     screen_.y2)};
    levels_.push_back(std::move(sub));
}

void MenuDrawn::on_move(const Point& pos)
{
    if (!is_shown())
    {
        return;
    }
    armed_ = true;
    const int level = level_at(pos);
    if (level < 0)
    {
        // Off the menu only the deepest panel goes dark: the entries leading to it stay lit.
        if (levels_.back().highlighted != -1)
        {
            levels_.back().highlighted = -1;
            update_native();
        }
        return;
    }
    Level& l = levels_[static_cast<std::size_t>(level)];
    const Rect rect = get_panel_rect(level);
    int row = l.panel->row_at(pos - Point{rect.x1, rect.y1});
    row = l.panel->is_selectable(row) ? row : -1;
    const bool child_open = level + 1 < get_nbr_panels();
    if (row == l.highlighted && (!child_open || at(level + 1).parent_row == row))
    {
        return;
    }
    l.highlighted = row;
    if (!child_open || at(level + 1).parent_row != row)
    {
        close_below(level);
        if (row >= 0 && l.panel->get_row(row).kind == MenuPanel::Kind::submenu)
        {
            open_submenu(row);
        }
    }
    update_native();
}

void MenuDrawn::on_button(const Point& pos, bool pressed)
{
    if (!is_shown())
    {
        return;
    }
    const int level = level_at(pos);
    if (pressed)
    {
        if (level < 0)
        {
            stop();
            return;
        }
        armed_ = true;
        on_move(pos);
        return;
    }
    if (level < 0 || !armed_)
    {
        return;
    }
    const Rect rect = get_panel_rect(level);
    const MenuPanel& panel = *at(level).panel;
    const int row = panel.row_at(pos - Point{rect.x1, rect.y1});
    if (panel.is_selectable(row) && panel.get_row(row).kind == MenuPanel::Kind::item)
    {
        pick(static_cast<MenuItem&>(*panel.get_row(row).node));
    }
}

void MenuDrawn::on_key(Key key)
{
    if (!is_shown())
    {
        return;
    }
    Level& deepest = levels_.back();
    const MenuPanel& panel = *deepest.panel;
    const int lit = deepest.highlighted;
    switch (key)
    {
    case Key::escape:
    case Key::left:
        if (get_nbr_panels() > 1)
        {
            levels_.pop_back();
        }
        else if (key == Key::escape)
        {
            stop();
            return;
        }
        break;
    case Key::up:
    case Key::down:
    {
        const int n = panel.get_nbr_rows();
        const int step = key == Key::down ? 1 : n - 1;
        int row = lit < 0 ? (key == Key::down ? n - 1 : 0) : lit;
        for (int i = 0; i < n; ++i)
        {
            row = (row + step) % n;
            if (panel.is_selectable(row))
            {
                deepest.highlighted = row;
                break;
            }
        }
        break;
    }
    case Key::right:
    case Key::enter:
        if (!panel.is_selectable(lit))
        {
            return;
        }
        if (panel.get_row(lit).kind == MenuPanel::Kind::item)
        {
            if (key == Key::enter)
            {
                pick(static_cast<MenuItem&>(*panel.get_row(lit).node));
            }
            return;
        }
        open_submenu(lit);
        on_key(Key::down);
        return;
    }
    update_native();
}

void MenuDrawn::pick(MenuItem& item)
{
    // The menu is gone before the pick is acted on, as the system's pop-ups are.
    stop();
    if (MenuListenerInterface* listener = item.get_listener())
    {
        listener->on_select();
    }
}

} // namespace ravik
