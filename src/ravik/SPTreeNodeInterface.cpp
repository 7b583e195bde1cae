#include "ravik/SPTreeNodeInterface.hpp"

#include "ravik/MessageInterface.hpp"

namespace ravik
{

std::int32_t SPTreeNodeInterface::process_message(MessageInterface& message)
{
    if (dynamic_cast<MessageUp*>(&message) != nullptr)
    {
        return parent_ != nullptr ? parent_->process_message(message) : -1;
    }
    if (const auto* show = dynamic_cast<ShowObject*>(&message))
    {
        shown_ = show->shown;
    }
    return process_down(message);
}

} // namespace ravik
