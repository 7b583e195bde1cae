#pragma once

#include <string>

#include "ravik/ControlInterface.hpp"
#include "ravik/Text.hpp"
#include "ravik/widget/OptionalPictures.hpp"

namespace ravik
{

class FontInterface;

// A line of text in a bitmap font, over an optional background. A press on an editable box asks
// the window for a text entry over the text; a validated entry becomes the text and the
// listeners hear notify 2. A press on a box that is not editable tells them notify 1.
class TextBox : public ControlInterface
{
public:
    static constexpr unsigned pic_background = 1;
    static constexpr unsigned pic_overlay = 2;
    enum Notification
    {
        clicked = 1,
        edited = 2,
    };

    using ControlInterface::ControlInterface;

    void set_background(const Picture& p) { optional_.set(pic_background, p); }
    void set_overlay(const Picture& p) { optional_.set(pic_overlay, p); }
    // Not owned.
    void set_font(const FontInterface* font) { font_ = font; }
    void set_text(const std::string& text);
    const std::string& get_text() const { return text_.text; }
    // The text's box, and where the control's position lies in it: a box centred on the
    // position has the offset (width / 2, 0).
    void set_text_box(int width, int height, int align, std::uint32_t colour);
    void set_text_offset(const Point& offset) { text_offset_ = offset; }
    void set_editable(bool flag) { editable_ = flag; }
    bool is_editing() const { return editing_; }
    // Passed on with every edit request.
    void set_second(const std::string& second) { second_ = second; }

    void cancel_interaction() override;
    std::int32_t handle_mouse_click(MouseClick& message) override;
    std::int32_t handle_text_input_finished(TextInputFinished& message) override;
    std::int32_t handle_redraw(Redraw& message) override;

private:
    OptionalPictures optional_;
    Text text_;
    const FontInterface* font_ = nullptr;
    Point text_offset_;
    bool editable_ = false;
    bool editing_ = false;
    std::string second_;
};

} // namespace ravik
