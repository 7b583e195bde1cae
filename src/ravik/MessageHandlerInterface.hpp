#pragma once

#include <cstdint>

namespace ravik
{

class MessageInterface;

// A node of the toolkit's trees. The result 0 lets a dispatch loop go on with the next receiver;
// any other value stops it and goes back to the sender; -1 means the message cannot be handled.
class MessageHandlerInterface
{
public:
    virtual ~MessageHandlerInterface() = default;

    virtual std::int32_t process_message(MessageInterface& message) = 0;
};

} // namespace ravik
