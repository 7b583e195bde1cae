#pragma once

#include <atomic>
#include <memory>

#include "basic/SettingClientInterface.hpp"

namespace plux
{

class DspInterface;

// The order in which the host sees the parameters, kept in the setting file as the key
// "parameter_reorder_map": one text per host position, "<DSP index>_<name>". Indices outside the
// maps pass through unchanged. The maps are read on any thread (the host may automate from its
// audio thread) while a settings load replaces them, so each entry is an atomic.
class ParamReorder final : public basic::SettingClientInterface
{
public:
    static constexpr const char* key_name = "parameter_reorder_map";

    ParamReorder() = default;

    // Sizes both maps to the DSP side's parameter count, as the identity.
    void init(DspInterface& dsp);

    int to_dsp(int host_index) const noexcept;
    int to_host(int dsp_index) const noexcept;
    int get_count() const noexcept { return count_; }

    int save_settings(basic::ConfKeyMulti& root) override;
    int load_settings(const basic::ConfKeyMulti& root) override;

private:
    DspInterface* dsp_ = nullptr;
    int count_ = 0;
    std::unique_ptr<std::atomic<int>[]> forward_; // host index -> DSP index
    std::unique_ptr<std::atomic<int>[]> reverse_; // DSP index -> host index
};

} // namespace plux
