#pragma once

#include <string>

namespace basic
{

class ConfKeyIndent;

// Everything of a key tree that can be written as text.
class ConfKeyStreamInterface
{
public:
    virtual ~ConfKeyStreamInterface() = default;

    // Appends the text of this object at the indentation level of indent; returns 0 or an error
    // code. indent is left at the level it had on entry.
    virtual int do_write_to_string(std::string& text, ConfKeyIndent& indent) const = 0;

    // Appends the whole text, starting at level 0. Nothing is added before or after it. If
    // writing throws, text is restored to what it was.
    int write_to_string(std::string& text) const;

protected:
    ConfKeyStreamInterface() = default;
    ConfKeyStreamInterface(const ConfKeyStreamInterface&) = default;
    ConfKeyStreamInterface& operator=(const ConfKeyStreamInterface&) = default;

    // Names and string values: between double quotes when str holds a space, tab, newline or
    // comma; nothing at all when str is empty. Nothing is escaped.
    static void append_quoted(std::string& text, const std::string& str);
};

} // namespace basic
