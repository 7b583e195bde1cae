#pragma once

#include "sys/MessageBoxInterface.hpp"

namespace sys
{

// The system's message box. On Windows a modal box owned by the foreground window of the
// plug-in's process (task-modal when there is none) and brought to the foreground. Elsewhere, where
// a plug-in has no dialog service of its own, the title and the text go to the standard error
// stream and the answer is that of the default button.
class SimpleMessageBox final : public MessageBoxInterface
{
public:
    int show(const std::string& title, const std::string& text, int buttons,
             int default_button) override;
};

} // namespace sys
