#include "plux/BkgContainer.hpp"

namespace plux
{

void BkgContainer::run()
{
    const std::lock_guard lock(mutex_);
    for (auto* task : tasks_)
    {
        task->run();
    }
}

void BkgContainer::add(BkgInterface& task)
{
    const std::lock_guard lock(mutex_);
    tasks_.push_back(&task);
}

void BkgContainer::remove_last()
{
    const std::lock_guard lock(mutex_);
    if (!tasks_.empty())
    {
        tasks_.pop_back();
    }
}

int BkgContainer::get_nbr_tasks() const
{
    const std::lock_guard lock(mutex_);
    return static_cast<int>(tasks_.size());
}

} // namespace plux
