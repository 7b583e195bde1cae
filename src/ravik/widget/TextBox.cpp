#include "ravik/widget/TextBox.hpp"

#include "ravik/FontInterface.hpp"
#include "ravik/GraphicMessages.hpp"
#include "ravik/MouseMessages.hpp"
#include "ravik/TextMessages.hpp"
#include "ravik/widget/Layers.hpp"

namespace ravik
{

void TextBox::set_text(const std::string& text)
{
    if (text != text_.text)
    {
        text_.text = text;
        invalidate_area();
    }
}

void TextBox::set_text_box(int width, int height, int align, std::uint32_t colour)
{
    text_.width = width;
    text_.height = height;
    text_.align = align;
    text_.colour = colour;
}

void TextBox::cancel_interaction()
{
    if (editing_)
    {
        TextInputStop stop(false);
        process_message(stop);
        editing_ = false;
    }
}

std::int32_t TextBox::handle_mouse_click(MouseClick& message)
{
    if (message.buttons == 0 || !is_enabled() || editing_)
    {
        return 0;
    }
    if (!editable_)
    {
        notify_listeners(clicked, &message);
        return 1;
    }
    cancel_interaction();
    // The entry covers the text where it is drawn.
    const Point at = get_abs_position() - text_offset_;
    TextInputRequest ask(this, text_.text, {at.x, at.y, at.x + text_.width, at.y + text_.height},
                         second_);
    editing_ = true;
    if (process_message(ask) != 0)
    {
        editing_ = false;
    }
    return 1;
}

std::int32_t TextBox::handle_text_input_finished(TextInputFinished& message)
{
    if (!editing_)
    {
        return 0;
    }
    editing_ = false;
    if (message.validated)
    {
        text_.text = message.text;
        notify_listeners(edited, nullptr);
        invalidate_area();
    }
    return 0;
}

std::int32_t TextBox::handle_redraw(Redraw& message)
{
    const double x = get_abs_position().x;
    const double y = get_abs_position().y;
    if (optional_.has(pic_background))
    {
        draw_layer(optional_.get(pic_background), message, x, y);
    }
    if (font_ != nullptr)
    {
        const Point at = get_abs_position() - text_offset_;
        font_->draw_text(message.area.moved({-at.x, -at.y}), message.buffer, text_);
    }
    if (optional_.has(pic_overlay))
    {
        draw_layer(optional_.get(pic_overlay), message, x, y);
    }
    return draw_picture(message);
}

} // namespace ravik
