#include "sys/SimpleMessageBox.hpp"

#include <cstdio>

namespace sys
{

int SimpleMessageBox::show(const std::string& title, const std::string& text, int buttons,
                           int default_button)
{
    if (buttons != buttons_ok && buttons != buttons_ok_cancel && buttons != buttons_yes_no)
    {
        return res_failed;
    }
    const std::string message = title + "\n" + text + "\n";
    std::fwrite(message.data(), 1, message.size(), stderr);
    std::fflush(stderr);
    // Every box has a first button; only the two-button boxes have a second one.
    return default_button == 1 && buttons != buttons_ok ? res_cancel : res_ok;
}

} // namespace sys
