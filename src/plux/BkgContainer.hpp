#pragma once

#include <mutex>
#include <vector>

#include "plux/BkgInterface.hpp"

namespace plux
{

// A task that runs the tasks it holds, in order. Tasks are added and removed from the host's
// threads while the background thread runs the container, so both sides take a short lock; no
// real-time thread ever comes here.
class BkgContainer final : public BkgInterface
{
public:
    void run() override;
    void* get_context() const override { return context_; }
    void set_context(void* context) override { context_ = context; }

    // Not owned.
    void add(BkgInterface& task);
    // Removes the last task; nothing when empty.
    void remove_last();
    int get_nbr_tasks() const;

private:
    void* context_ = nullptr;
    mutable std::mutex mutex_;
    std::vector<BkgInterface*> tasks_;
};

} // namespace plux
