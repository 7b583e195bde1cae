#include "plux/param/MetaControl.hpp"

#include "plux/param/ListenerBase.hpp"
#include "ravik/ControlInterface.hpp"

namespace plux
{

void MetaControl::bind(ravik::ControlInterface& control, ListenerBase& listener)
{
    control_ = &control;
    listener_ = &listener;
    if (control.get_nbr_listeners() == 0 || control.get_listener(0) != &listener)
    {
        control.set_listener(&listener);
    }
}

void MetaControl::refresh()
{
    if (is_bound())
    {
        listener_->show_param();
    }
}

} // namespace plux
