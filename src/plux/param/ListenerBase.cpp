#include "plux/param/ListenerBase.hpp"

#include "plux/HostGuiInterface.hpp"
#include "plux/param/NormalizedParamInterface.hpp"
#include "ravik/ControlInterface.hpp"

namespace plux
{

namespace
{

// A forced display of the parameter, the weakest origin.
constexpr int origin_show = 1;

} // namespace

void ListenerBase::bind_param(int index, NormalizedParamInterface* param)
{
    index_ = index;
    param_ = param;
}

bool ListenerBase::accept(int origin)
{
    return !is_bound() || host_->can_take(index_, origin);
}

void ListenerBase::trigger(int origin)
{
    if (is_bound())
    {
        host_->take(index_, origin);
    }
}

void ListenerBase::signal(int origin)
{
    if (is_bound())
    {
        host_->release(index_, origin);
    }
}

double ListenerBase::filter_user_value(double value, int origin)
{
    if (is_bound())
    {
        host_->set_param_and_notify(index_, static_cast<float>(value), origin);
    }
    return value;
}

void ListenerBase::show_param()
{
    if (param_ != nullptr && get_control() != nullptr)
    {
        get_control()->force_value(param_->get_nrm(), origin_show);
    }
}

} // namespace plux
