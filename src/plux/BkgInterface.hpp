#pragma once

namespace plux
{

// Periodic work that runs on the background thread, off the host's threads.
class BkgInterface
{
public:
    virtual ~BkgInterface() = default;

    virtual void run() = 0;
    virtual void* get_context() const = 0;
    virtual void set_context(void* context) = 0;
};

} // namespace plux
