#include "plux/param/PluginInternal.hpp"

#include <stdexcept>

#include "plux/param/NormalizedParamInterface.hpp"

namespace plux
{

NormalizedParamInterface& PluginInternal::use_param(int index)
{
    // The list, not get_nbr_param: a DSP side may announce its count before init creates the
    // parameters and after stop has dropped them.
    if (index < 0 || static_cast<std::size_t>(index) >= param_list_.size())
    {
        throw std::out_of_range("plux::PluginInternal::use_param() : Index out of range.");
    }
    return *param_list_[static_cast<std::size_t>(index)];
}

void PluginInternal::add_param(std::shared_ptr<NormalizedParamInterface> param)
{
    if (param == nullptr)
    {
        throw std::invalid_argument("plux::PluginInternal::add_param() : Null parameter.");
    }
    param_list_.push_back(std::move(param));
}

void PluginInternal::copy_values(std::vector<float>& values) const
{
    values.resize(param_list_.size());
    for (std::size_t i = 0; i < param_list_.size(); ++i)
    {
        values[i] = param_list_[i]->get_nrm();
    }
}

std::string PluginInternal::get_settings_name() const
{
    return "Tarvex/" + get_info_str("plugin_name");
}

} // namespace plux
