#include "plux/preset/ProgStLdDefault.hpp"

#include "plux/DspInterface.hpp"
#include "plux/param/NormalizedParamInterface.hpp"
#include "plux/prog/ProgramSlot.hpp"

namespace plux
{

void ProgStLdDefault::interpolate(ProgramSlot& out, const ProgramSlot& from, const ProgramSlot& to,
                                  double t)
{
    const std::vector<float>& a = from.use_values();
    const std::vector<float>& b = to.use_values();
    std::vector<float>& values = out.use_values();
    values.resize(b.size());
    const std::size_t nbr_param =
        dsp_ != nullptr ? static_cast<std::size_t>(dsp_->get_nbr_param()) : 0;
    for (std::size_t i = 0; i < b.size(); ++i)
    {
        const NormalizedParamInterface* param =
            i < nbr_param ? &dsp_->use_param(static_cast<int>(i)) : nullptr;
        if (param != nullptr && !param->can_interpolate())
        {
            continue;
        }
        // A value the from program lacks has nothing to glide from.
        if (i >= a.size() || (param != nullptr && param->is_discrete()))
        {
            values[i] = b[i];
        }
        else
        {
            // Weighted so that t = 1 gives the to value exactly, and t = 0 the from value.
            values[i] = static_cast<float>((1.0 - t) * a[i] + t * b[i]);
        }
    }
    out.use_extra() = to.use_extra();
}

} // namespace plux
