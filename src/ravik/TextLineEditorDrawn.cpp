#include "ravik/TextLineEditorDrawn.hpp"

#include "ravik/TextMessages.hpp"

namespace ravik
{

int TextLineEditorDrawn::start_native(const TextInputRequest& request)
{
    const Rect& rect = request.rect;
    if (field_.get_font() == nullptr || rect.x2 <= rect.x1 || rect.y2 <= rect.y1)
    {
        return -1;
    }
    field_.set_size({rect.x2 - rect.x1, rect.y2 - rect.y1});
    field_.set_text(text_);
    return open_field(rect);
}

int TextLineEditorDrawn::close_native()
{
    text_ = field_.get_text();
    close_field();
    return 0;
}

void TextLineEditorDrawn::changed()
{
    if (is_active())
    {
        update_field();
    }
}

void TextLineEditorDrawn::type(std::string_view text)
{
    field_.type(text);
    changed();
}

void TextLineEditorDrawn::press(LineEdit::Key key, bool extend)
{
    field_.press(key, extend);
    changed();
}

void TextLineEditorDrawn::click(int x, bool extend)
{
    field_.click(x, extend);
    changed();
}

void TextLineEditorDrawn::end(bool validated)
{
    if (is_active())
    {
        set_validated(validated);
        finish();
    }
}

} // namespace ravik
