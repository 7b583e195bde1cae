#pragma once

#include <string>

#include "ravik/Geometry.hpp"

namespace ravik
{

class MessageHandlerInterface;
class TextInputRequest;

// One-line text entry over a control. Enter and leaving the field validate, Escape cancels; the
// requesting handler then receives TextInputFinished with the text. One entry at a time.
class TextLineEditorInterface
{
public:
    virtual ~TextLineEditorInterface() = default;

    // Takes the request's text and handler and opens the field: 0, or -1 (nothing is left open).
    int start(const TextInputRequest& request);
    // Closes the field, then tells the requesting handler.
    void finish();

    bool is_active() const { return active_; }
    // Where the field lies, in window coordinates.
    const Rect& get_rect() const { return rect_; }
    const std::string& get_text() const { return text_; }
    bool is_validated() const { return validated_; }
    void set_validated(bool validated) { validated_ = validated; }

protected:
    // The system's field: opens it over the request's rectangle with text_.
    virtual int start_native(const TextInputRequest& request) = 0;
    // Closes it, leaving what the user typed in text_. -1 when there was none.
    virtual int close_native() = 0;

    MessageHandlerInterface* handler_ = nullptr;
    Rect rect_;
    std::string text_;
    bool validated_ = false;
    bool active_ = false;
};

} // namespace ravik
