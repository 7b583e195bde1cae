#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "ravik/Geometry.hpp"
#include "ravik/RenderingBufferInterface.hpp"

namespace ravik
{

class FontInterface;

// A one-line text field drawn by the toolkit, which edits as the system's edit fields do: text
// centred while it fits and scrolled to keep the caret in view when it does not, a selection
// that typing replaces, the caret moved or the selection grown with the arrows, Home and End.
// Bytes are characters, as the fonts draw them. Knows nothing of where its pixels go. Editor
// thread only.
class LineEdit
{
public:
    enum class Key
    {
        left,
        right,
        home,
        end,
        backspace,
        del,
    };

    // As the system's fields cap what the program reads back.
    static constexpr std::size_t max_length = 1023;
    static constexpr Pixel background = 0xFFFFFFFFu;
    static constexpr Pixel selection = 0xFF0078D7u;
    // 0x00RRGGBB, as fonts take colours.
    static constexpr std::uint32_t ink = 0x000000u;
    static constexpr std::uint32_t selected_ink = 0xFFFFFFu;

    // Not owned; without one nothing but the background is drawn.
    void set_font(const FontInterface* font);
    const FontInterface* get_font() const { return font_; }
    void set_size(const Point& size);
    const Point& get_size() const { return size_; }

    // Replaces the text and selects all of it, the caret at its end.
    void set_text(std::string_view text);
    const std::string& get_text() const { return text_; }
    // Replaces the selection with the printable bytes of typed, as far as max_length allows.
    void type(std::string_view typed);
    // With extend, the selection grows or shrinks with the caret instead of collapsing.
    void press(Key key, bool extend = false);
    void select_all();
    // Puts the caret at the character boundary nearest to x (field pixels).
    void click(int x, bool extend = false);

    std::size_t get_caret() const { return caret_; }
    std::size_t get_selection_start() const { return std::min(caret_, anchor_); }
    std::size_t get_selection_end() const { return std::max(caret_, anchor_); }

    // The whole field, its top-left at the buffer's.
    void draw(RenderingBufferInterface& buffer) const;

private:
    int prefix_width(std::size_t length) const;
    int text_left() const;
    void replace_selection(std::string_view with);
    void move_caret(std::size_t to, bool extend);
    void follow_caret();

    const FontInterface* font_ = nullptr;
    Point size_;
    std::string text_;
    std::size_t caret_ = 0;
    std::size_t anchor_ = 0;
    // Pixels of text scrolled out on the left while the text is wider than the field.
    int scroll_ = 0;
};

} // namespace ravik
