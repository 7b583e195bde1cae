#pragma once

#include <memory>
#include <vector>

#include "ravik/Geometry.hpp"
#include "ravik/Menu.hpp"
#include "ravik/MenuPanel.hpp"

namespace ravik
{

class FontInterface;
class MenuItem;
class RenderingBufferInterface;

// A pop-up menu that the toolkit draws and runs itself, so that it looks and behaves the same in
// every window: the root list opens at the cursor plus the request's offset, a submenu opens to
// the side as soon as the pointer rests on it, the pointer and the arrow keys light the enabled
// entries, a click (or Enter) on an item closes the menu and then calls its listener's
// on_select, and a press outside the menu or Escape closes it without a pick. A system's
// realisation shows the panels (use_panel, get_panel_rect, draw_panel) and hands it the user's
// input, in screen coordinates. Nothing waits: show returns at once. Editor thread only.
class MenuDrawn : public Menu
{
public:
    enum class Key
    {
        up,
        down,
        left,
        right,
        enter,
        escape,
    };

    // The gap between a submenu and the side of its parent that it overlaps.
    static constexpr int submenu_overlap = 2;

    // Not owned; a menu cannot be shown without one.
    void set_font(const FontInterface* font) { font_ = font; }

    int show(MenuRequest& request) override;
    int stop() override;

    bool is_shown() const { return !levels_.empty(); }

    // What the user does, in screen coordinates.
    void on_move(const Point& pos);
    void on_button(const Point& pos, bool pressed);
    void on_key(Key key);

    // The open panels: the root list first, then each open submenu.
    int get_nbr_panels() const { return static_cast<int>(levels_.size()); }
    const MenuPanel& use_panel(int level) const { return *at(level).panel; }
    Rect get_panel_rect(int level) const;
    // The lit row of a panel, or -1.
    int get_highlighted(int level) const { return at(level).highlighted; }
    // A row of a panel in screen coordinates.
    Rect get_row_rect(int level, int row) const;
    // The panel as it looks now, its top-left at the buffer's.
    void draw_panel(int level, RenderingBufferInterface& buffer) const;

protected:
    // Screen coordinates.
    virtual Point get_cursor_native() const = 0;
    // Where panels may go: they are moved or flipped to stay inside.
    virtual Rect get_screen_native() const = 0;
    // The root panel exists: show it and start taking the user's input. 0, or -1.
    virtual int open_native() = 0;
    // Panels came, went or changed their look.
    virtual void update_native() = 0;
    virtual void close_native() = 0;

private:
    struct Level
    {
        std::unique_ptr<MenuPanel> panel;
        Point pos;
        // The row of the parent panel that this submenu belongs to.
        int parent_row = -1;
        int highlighted = -1;
    };

    const Level& at(int level) const { return levels_.at(static_cast<std::size_t>(level)); }
    // The deepest panel under pos, or -1.
    int level_at(const Point& pos) const;
    // Opens the submenu of a row of the deepest panel.
    void open_submenu(int row);
    void close_below(int level);
    void pick(MenuItem& item);

    const FontInterface* font_ = nullptr;
    std::vector<Level> levels_;
    Rect screen_;
    // A release picks only once the user has moved or pressed inside since the menu opened, so
    // that letting go of the press that asked for the menu does not pick what lies under it.
    bool armed_ = false;
};

} // namespace ravik
