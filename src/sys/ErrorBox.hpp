#pragma once

#include <string>

namespace sys
{

class MessageBoxInterface;

// How a failure reaches the user: a box titled "Error", with an OK button, showing text followed
// by "\n\nCode %d" with the code.
void show_error_box(MessageBoxInterface& box, const std::string& text, int code);

} // namespace sys
