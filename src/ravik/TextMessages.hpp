#pragma once

#include <string>
#include <utility>

#include "ravik/MessageInterface.hpp"

namespace ravik
{

class MessageHandlerInterface;

// A key for a control; the toolkit's windows never send it themselves.
class KeyPressed : public MessageDown, public KeyboardMessage
{
public:
    KeyPressed(int key, int modifiers)
        : key(key)
        , modifiers(modifiers)
    {
    }

    int key;
    int modifiers;
};

// Asks the window for a one-line text entry over rect (window coordinates), starting with text.
class TextInputRequest : public MessageUp, public KeyboardMessage
{
public:
    TextInputRequest(MessageHandlerInterface* handler, std::string text, const Rect& rect,
                     std::string second = {})
        : handler(handler)
        , text(std::move(text))
        , rect(rect)
        , second(std::move(second))
    {
    }

    MessageHandlerInterface* handler;
    std::string text;
    Rect rect;
    std::string second;
};

// The entry ended: validated by Enter or by leaving it, not by Escape.
class TextInputFinished : public MessageDown, public KeyboardMessage
{
public:
    TextInputFinished(std::string text, bool validated)
        : text(std::move(text))
        , validated(validated)
    {
    }

    std::string text;
    std::string second;
    bool validated;
};

// Ends the entry in progress from the program's side.
class TextInputStop : public MessageUp, public KeyboardMessage
{
public:
    explicit TextInputStop(bool validate)
        : validate(validate)
    {
    }

    bool validate;
};

} // namespace ravik
