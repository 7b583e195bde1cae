#pragma once

namespace plux
{

class BkgInterface;

// A thread that runs one task periodically, off the host's threads.
class BkgThreadHandlerInterface
{
public:
    virtual ~BkgThreadHandlerInterface() = default;

    // Not owned; set before start().
    virtual void set_handler(BkgInterface* task) = 0;
    // 0, or -1 when the thread cannot be started. A running thread is left as it is.
    virtual int start() = 0;
    // Returns once the thread has ended; nothing when no thread runs.
    virtual void stop() = 0;
};

} // namespace plux
