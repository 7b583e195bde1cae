#pragma once

#include <memory>
#include <string>

#include "ravik/MenuDrawn.hpp"
#include "ravik/MouseMessages.hpp"
#include "ravik/RenderingBufferMemory.hpp"
#include "ravik/TextLineEditorDrawn.hpp"
#include "ravik/WindowHost.hpp"

namespace ravik
{

// A text field that exists only in memory: a test types into it and ends it as a user would.
class TextLineEditorOffscreen final : public TextLineEditorDrawn
{
public:
    // The field as the user sees it.
    std::unique_ptr<RenderingBufferMemory> render() const;

protected:
    int open_field(const Rect& rect) override;
    void close_field() override {}
};

// A pop-up menu that exists only in memory, on a screen whose coordinates are the window's: a
// test moves, clicks and types on it as a user would, or picks an item by its label.
class MenuOffscreen final : public MenuDrawn
{
public:
    explicit MenuOffscreen(const class WindowOffscreen& window)
        : window_(window)
    {
    }

    // Where the root panel opened.
    Point get_position() const
    {
        const Rect r = get_panel_rect(0);
        return {r.x1, r.y1};
    }
    // Opens the submenus on the way and clicks the first shown, enabled item with that label, as
    // a user would: false when there is none (the menu stays open).
    bool pick(const std::string& label);
    std::unique_ptr<RenderingBufferMemory> render(int level) const;
    void set_screen(const Rect& screen) { screen_ = screen; }

protected:
    Point get_cursor_native() const override;
    Rect get_screen_native() const override { return screen_; }
    int open_native() override { return 0; }
    void update_native() override {}
    void close_native() override {}

private:
    bool pick_in(int level, const std::string& label);

    const WindowOffscreen& window_;
    Rect screen_{0, 0, 1280, 1024};
};

// The toolkit's window in memory: the same trees, messages and paint cycle as on screen, drawn
// into a buffer of the window's size that a test reads, and driven by the events a test injects.
// Time passes only through the plug-in's clock: tick() polls the timers as the native timer does.
class WindowOffscreen final : public WindowHost
{
public:
    static constexpr int tile_size = 128;
    // The system colour of the strips outside the content (buffer byte order).
    static constexpr Pixel outside_fill = 0xFFF0F0F0u;

    explicit WindowOffscreen(const Point& size);
    ~WindowOffscreen() override;

    int open_native(void* parent) override;
    void close_native() override;
    void on_content_resized() override;
    // The font of the window's menus and text fields; not owned.
    void set_font(const FontInterface* font) override;

    // Input as a user gives it. Positions are window coordinates.
    void press(const Point& pos, int button = mouse::left, int modifiers = 0);
    void release(const Point& pos, int modifiers = 0);
    void double_click(const Point& pos, int button = mouse::left);
    void move(const Point& pos);
    void wheel(const Point& pos, float notches, int modifiers = 0);
    // What the 2 ms native timer does.
    void tick() { on_timer(); }
    // Paints what was invalidated since the last paint; all of the window with paint_all.
    void paint();
    void paint_all();

    const RenderingBufferMemory& use_screen() const { return *screen_; }
    Pixel get_pixel(int x, int y) const { return screen_->get_pixel(x, y); }
    const Point& get_cursor() const { return cursor_; }
    bool has_capture() const { return captured_; }
    bool is_dirty() const { return dirty_.x1 < dirty_.x2 && dirty_.y1 < dirty_.y2; }
    // Cursor moves the window made (relative drags put the cursor back).
    int get_nbr_cursor_moves() const { return nbr_cursor_moves_; }
    TextLineEditorOffscreen& use_text_editor() { return editor_; }
    MenuOffscreen& use_menu() { return menu_; }

protected:
    bool is_open_native() const override { return open_; }
    void invalidate_native(const Rect& rect) override;
    bool take_capture_native() override;
    bool release_capture_native() override;
    void show_cursor_native(bool /*shown*/) override {}
    Point get_cursor_native() const override { return cursor_; }
    void set_cursor_native(const Point& pos) override;
    void fill_outside_native(const Rect& update) override;

private:
    RenderingBufferMemory tile_{tile_size, tile_size};
    std::unique_ptr<RenderingBufferMemory> screen_;

    void make_screen();
    TextLineEditorOffscreen editor_;
    MenuOffscreen menu_{*this};
    Rect dirty_;
    Point cursor_;
    int buttons_ = 0;
    int nbr_cursor_moves_ = 0;
    bool open_ = false;
    bool captured_ = false;
};

} // namespace ravik
