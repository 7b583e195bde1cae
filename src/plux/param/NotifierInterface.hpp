#pragma once

namespace plux
{

class NotifiedInterface;

// Something whose changes one other object wants to hear about. The owner sets the target
// directly; null means nobody listens.
class NotifierInterface
{
public:
    virtual ~NotifierInterface() = default;

    NotifiedInterface* target = nullptr;
};

} // namespace plux
