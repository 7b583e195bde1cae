#pragma once

namespace plux
{

class NotifierInterface;

// The receiver of change notifications. notify() runs on whichever thread made the change, so
// implementations only raise a flag that the audio thread reads at its next control step.
class NotifiedInterface
{
public:
    virtual ~NotifiedInterface() = default;

    virtual void notify(NotifierInterface& source) = 0;
};

} // namespace plux
