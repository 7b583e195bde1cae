#pragma once

#include <memory>
#include <string>

#include "ravik/Menu.hpp"
#include "ravik/MouseMessages.hpp"
#include "ravik/RenderingBufferMemory.hpp"
#include "ravik/TextLineEditorInterface.hpp"
#include "ravik/WindowHost.hpp"

namespace ravik
{

// A text field that exists only in memory: a test types into it and ends it as a user would.
class TextLineEditorOffscreen final : public TextLineEditorInterface
{
public:
    // Replaces the field's text, as typing over the selected text does.
    void type(const std::string& text) { text_ = text; }
    void press_enter();
    void press_escape();

protected:
    int start_native(const TextInputRequest& request) override;
    int close_native() override { return 0; }
};

// A pop-up menu that exists only in memory: a test picks an item as a user would.
class MenuOffscreen final : public Menu
{
public:
    explicit MenuOffscreen(const class WindowOffscreen& window)
        : window_(window)
    {
    }

    int show(MenuRequest& request) override;
    int stop() override;

    bool is_shown() const { return root_ != nullptr; }
    // Where the menu opened, in window coordinates.
    const Point& get_position() const { return pos_; }
    // Picks the item and closes the menu: false when no shown, enabled item has that label.
    bool pick(const std::string& label);

private:
    const WindowOffscreen& window_;
    Point pos_;
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
