#include "ravik/LineEdit.hpp"

#include <cstdlib>

#include "ravik/FontInterface.hpp"
#include "ravik/detail/Paint.hpp"

namespace ravik
{

namespace
{

// Room kept free on each side while the text scrolls.
constexpr int margin = 1;

bool is_printable(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x20 && b != 0x7F;
}

} // namespace

void LineEdit::set_font(const FontInterface* font)
{
    font_ = font;
    follow_caret();
}

void LineEdit::set_size(const Point& size)
{
    size_ = {std::max(size.x, 0), std::max(size.y, 0)};
    follow_caret();
}

void LineEdit::set_text(std::string_view text)
{
    text_ = text.substr(0, max_length);
    scroll_ = 0;
    select_all();
}

void LineEdit::select_all()
{
    anchor_ = 0;
    caret_ = text_.size();
    follow_caret();
}

void LineEdit::type(std::string_view typed)
{
    std::string printable;
    for (const char c : typed)
    {
        if (is_printable(c))
        {
            printable += c;
        }
    }
    const std::size_t kept = text_.size() - (get_selection_end() - get_selection_start());
    printable.resize(std::min(printable.size(), max_length - std::min(kept, max_length)));
    replace_selection(printable);
}

void LineEdit::replace_selection(std::string_view with)
{
    const std::size_t start = get_selection_start();
    text_.replace(start, get_selection_end() - start, with);
    caret_ = anchor_ = start + with.size();
    follow_caret();
}

void LineEdit::move_caret(std::size_t to, bool extend)
{
    caret_ = to;
    if (!extend)
    {
        anchor_ = to;
    }
    follow_caret();
}

void LineEdit::press(Key key, bool extend)
{
    const bool selected = caret_ != anchor_;
    switch (key)
    {
    case Key::left:
        // Without extend a selection collapses to its edge before the caret moves on.
        move_caret(selected && !extend ? get_selection_start() : caret_ - (caret_ > 0), extend);
        break;
    case Key::right:
        move_caret(selected && !extend ? get_selection_end() : caret_ + (caret_ < text_.size()),
                   extend);
        break;
    case Key::home:
        move_caret(0, extend);
        break;
    case Key::end:
        move_caret(text_.size(), extend);
        break;
    case Key::backspace:
        if (!selected && caret_ > 0)
        {
            anchor_ = caret_ - 1;
        }
        replace_selection({});
        break;
    case Key::del:
        if (!selected && caret_ < text_.size())
        {
            anchor_ = caret_ + 1;
        }
        replace_selection({});
        break;
    }
}

int LineEdit::prefix_width(std::size_t length) const
{
    return font_ != nullptr ? font_->text_width(std::string_view(text_).substr(0, length)) : 0;
}

int LineEdit::text_left() const
{
    const int width = prefix_width(text_.size());
    return width <= size_.x - 2 * margin ? (size_.x - width) / 2 : margin - scroll_;
}

void LineEdit::follow_caret()
{
    const int width = prefix_width(text_.size());
    const int room = size_.x - 2 * margin;
    if (width <= room)
    {
        scroll_ = 0;
        return;
    }
    // The caret's column stays inside the field; past the end it needs one column more.
    const int caret_x = prefix_width(caret_);
    if (room < 1)
    {
        scroll_ = caret_x;
        return;
    }
    scroll_ = std::clamp(scroll_, caret_x - (room - 1), caret_x);
    scroll_ = std::clamp(scroll_, 0, width - room + 1);
}

void LineEdit::click(int x, bool extend)
{
    const int u = x - text_left();
    std::size_t best = 0;
    for (std::size_t i = 1; i <= text_.size(); ++i)
    {
        if (std::abs(prefix_width(i) - u) < std::abs(prefix_width(best) - u))
        {
            best = i;
        }
    }
    move_caret(best, extend);
}

void LineEdit::draw(RenderingBufferInterface& buffer) const
{
    detail::fill_rect(buffer, {0, 0, size_.x, size_.y}, background);
    if (font_ == nullptr)
    {
        return;
    }
    const int left = text_left();
    const int top = (size_.y - font_->get_line_height()) / 2;
    const int bottom = top + font_->get_line_height();
    const std::size_t start = get_selection_start();
    const std::size_t end = get_selection_end();
    const int x_start = left + prefix_width(start);
    const int x_end = left + prefix_width(end);
    detail::fill_rect(buffer, {x_start, top, x_end, bottom}, selection);
    const std::string_view text(text_);
    detail::draw_string(*font_, buffer, text.substr(0, start), {left, top}, ink);
    detail::draw_string(*font_, buffer, text.substr(start, end - start), {x_start, top},
                        selected_ink);
    detail::draw_string(*font_, buffer, text.substr(end), {x_end, top}, ink);
    const int caret_x = std::min(left + prefix_width(caret_), size_.x - 1);
    detail::fill_rect(buffer, {caret_x, top, caret_x + 1, bottom}, 0xFF000000u | ink);
}

} // namespace ravik
