#pragma once

#include <string_view>

#include "ravik/Geometry.hpp"
#include "ravik/LineEdit.hpp"
#include "ravik/TextLineEditorInterface.hpp"

namespace ravik
{

class FontInterface;
class RenderingBufferInterface;

// A text entry whose field the toolkit draws and edits itself (LineEdit) with the window's font;
// a system's realisation only shows the field over the request's rectangle and hands it what the
// user does. Enter and leaving the field validate, Escape cancels.
class TextLineEditorDrawn : public TextLineEditorInterface
{
public:
    // Not owned; an entry cannot start without one.
    void set_font(const FontInterface* font) { field_.set_font(font); }

    // What the user does while the field is open.
    void type(std::string_view text);
    void press(LineEdit::Key key, bool extend = false);
    void click(int x, bool extend = false);
    void press_enter() { end(true); }
    void press_escape() { end(false); }
    void leave() { end(true); }

    const LineEdit& use_field() const { return field_; }
    // The field as it looks now, its top-left at the buffer's.
    void draw(RenderingBufferInterface& buffer) const { field_.draw(buffer); }

protected:
    int start_native(const TextInputRequest& request) final;
    int close_native() final;

    // Shows the field over rect (window coordinates): 0, or -1 when it cannot.
    virtual int open_field(const Rect& rect) = 0;
    virtual void close_field() = 0;
    // The field's look changed.
    virtual void update_field() {}

private:
    void end(bool validated);
    void changed();

    LineEdit field_;
};

} // namespace ravik
