#include "plux/param/ParamReorder.hpp"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "basic/ConfKeyContentMulti.hpp"
#include "basic/ConfKeyContentString.hpp"
#include "basic/ConfKeyData.hpp"
#include "basic/ConfKeyMulti.hpp"
#include "plux/DspInterface.hpp"
#include "plux/param/NormalizedParamInterface.hpp"

namespace plux
{

void ParamReorder::init(DspInterface& dsp)
{
    dsp_ = &dsp;
    count_ = std::max(dsp.get_nbr_param(), 0);
    forward_ = std::make_unique<std::atomic<int>[]>(static_cast<std::size_t>(count_));
    reverse_ = std::make_unique<std::atomic<int>[]>(static_cast<std::size_t>(count_));
    for (int i = 0; i < count_; ++i)
    {
        forward_[static_cast<std::size_t>(i)].store(i, std::memory_order_relaxed);
        reverse_[static_cast<std::size_t>(i)].store(i, std::memory_order_relaxed);
    }
}

int ParamReorder::to_dsp(int host_index) const noexcept
{
    if (host_index < 0 || host_index >= count_)
    {
        return host_index;
    }
    return forward_[static_cast<std::size_t>(host_index)].load(std::memory_order_relaxed);
}

int ParamReorder::to_host(int dsp_index) const noexcept
{
    if (dsp_index < 0 || dsp_index >= count_)
    {
        return dsp_index;
    }
    return reverse_[static_cast<std::size_t>(dsp_index)].load(std::memory_order_relaxed);
}

int ParamReorder::save_settings(basic::ConfKeyMulti& root)
{
    basic::ConfKeyContentMulti list;
    for (int host = 0; host < count_; ++host)
    {
        const int dsp_index = to_dsp(host);
        char name[256] = {};
        dsp_->use_param(dsp_index).get_name(name, sizeof(name));
        list.add_content(basic::ConfKeyContentString(std::to_string(dsp_index) + "_" + name));
    }
    root.set_key(basic::ConfKeyData(key_name, list));
    return 0;
}

int ParamReorder::load_settings(const basic::ConfKeyMulti& root)
{
    const int index = root.find_index_data(key_name);
    if (index < 0)
    {
        return 0;
    }
    const auto& key = static_cast<const basic::ConfKeyData&>(root.use_key_at(index));
    const auto* list = dynamic_cast<const basic::ConfKeyContentMulti*>(key.get_content());
    if (list == nullptr)
    {
        return 0;
    }

    const auto n = static_cast<std::size_t>(count_);
    std::vector<int> forward(n, -1);
    std::vector<int> reverse(n, -1);
    const int nbr_entries = std::min(list->get_nbr_elt(), count_);
    for (int j = 0; j < nbr_entries; ++j)
    {
        const auto* text = dynamic_cast<const basic::ConfKeyContentString*>(&list->use_elt(j));
        if (text == nullptr)
        {
            continue;
        }
        const char* begin = text->get_str().c_str();
        char* end = nullptr;
        const long d = std::strtol(begin, &end, 10);
        if (end == begin || d < 0 || d >= count_ || reverse[static_cast<std::size_t>(d)] >= 0)
        {
            continue;
        }
        forward[static_cast<std::size_t>(j)] = static_cast<int>(d);
        reverse[static_cast<std::size_t>(d)] = j;
    }
    for (std::size_t k = 0; k < n; ++k)
    {
        if (forward[k] < 0 && reverse[k] < 0)
        {
            forward[k] = static_cast<int>(k);
            reverse[k] = static_cast<int>(k);
        }
    }
    // Positions still without a DSP index take the lowest free ones, in increasing order.
    std::size_t next_free = 0;
    for (std::size_t j = 0; j < n; ++j)
    {
        if (forward[j] >= 0)
        {
            continue;
        }
        while (reverse[next_free] >= 0)
        {
            ++next_free;
        }
        forward[j] = static_cast<int>(next_free);
        reverse[next_free] = static_cast<int>(j);
    }
    for (std::size_t i = 0; i < n; ++i)
    {
        forward_[i].store(forward[i], std::memory_order_relaxed);
        reverse_[i].store(reverse[i], std::memory_order_relaxed);
    }
    return 0;
}

} // namespace plux
