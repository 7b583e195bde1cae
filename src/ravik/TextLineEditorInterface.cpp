#include "ravik/TextLineEditorInterface.hpp"

#include "ravik/MessageHandlerInterface.hpp"
#include "ravik/TextMessages.hpp"

namespace ravik
{

int TextLineEditorInterface::start(const TextInputRequest& request)
{
    text_ = request.text;
    handler_ = request.handler;
    rect_ = request.rect;
    validated_ = false;
    if (start_native(request) != 0)
    {
        active_ = false;
        return -1;
    }
    active_ = true;
    return 0;
}

void TextLineEditorInterface::finish()
{
    if (!active_)
    {
        return;
    }
    close_native();
    active_ = false;
    MessageHandlerInterface* handler = handler_;
    handler_ = nullptr;
    if (handler != nullptr)
    {
        TextInputFinished done(text_, validated_);
        handler->process_message(done);
    }
}

} // namespace ravik
