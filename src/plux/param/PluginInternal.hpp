#pragma once

#include <memory>
#include <string>
#include <vector>

#include "plux/DspInterface.hpp"

namespace plux
{

// The base of a DSP object: the list of its parameters, whose positions are the DSP indices.
// The list shares the parameters; processing objects keep plain pointers to the ones they read.
// The list changes only during init() and stop(), never while audio runs.
class PluginInternal : public virtual DspInterface
{
public:
    int get_nbr_param() const override { return static_cast<int>(param_list_.size()); }
    NormalizedParamInterface& use_param(int index) override;

    void add_param(std::shared_ptr<NormalizedParamInterface> param);
    void clear_params() { param_list_.clear(); }
    // The normalised values of all parameters, in DSP order.
    void copy_values(std::vector<float>& values) const;
    // The name under which the DSP side keeps its settings: "Tarvex/" and "plugin_name".
    std::string get_settings_name() const;

private:
    std::vector<std::shared_ptr<NormalizedParamInterface>> param_list_;
};

} // namespace plux
