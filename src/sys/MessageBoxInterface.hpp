#pragma once

#include <string>

namespace sys
{

// A modal message box that waits for the user's answer. User-interface thread only.
class MessageBoxInterface
{
public:
    // Button sets.
    static constexpr int buttons_ok = 0;
    static constexpr int buttons_ok_cancel = 1;
    static constexpr int buttons_yes_no = 2;

    // Answers.
    static constexpr int res_ok = 0;     // OK or Yes
    static constexpr int res_cancel = 1; // Cancel or No
    static constexpr int res_failed = -1;

    virtual ~MessageBoxInterface() = default;

    // default_button is the 0-based position of the button that Enter presses; a position the
    // box does not have selects the first button. An unknown button set shows nothing and
    // answers res_failed.
    virtual int show(const std::string& title, const std::string& text, int buttons,
                     int default_button) = 0;
};

} // namespace sys
