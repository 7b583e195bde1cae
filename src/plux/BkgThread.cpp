#include "plux/BkgThread.hpp"

#include "plux/BkgInterface.hpp"

namespace plux
{

void BkgThread::run_task() noexcept
{
    if (handler_ != nullptr)
    {
        try
        {
            handler_->run();
        }
        catch (...)
        {
        }
    }
    nbr_runs_.fetch_add(1, std::memory_order_acq_rel);
}

} // namespace plux
