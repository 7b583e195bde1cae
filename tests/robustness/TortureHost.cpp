#include "TortureHost.hpp"

#include <cmath>
#include <gtest/gtest.h>

namespace robustness
{

namespace
{

std::atomic<TortureHost*> current_host{nullptr};

} // namespace

TortureHost::TortureHost()
{
    TortureHost* expected = nullptr;
    if (!current_host.compare_exchange_strong(expected, this))
    {
        ADD_FAILURE() << "one torture host at a time";
    }
}

TortureHost::~TortureHost()
{
    stop();
    TortureHost* expected = this;
    current_host.compare_exchange_strong(expected, nullptr);
}

bool TortureHost::start(plux_test::EffectSource source)
{
    vst2::PluginEntryProc entry = &plux_test::test_entry;
    if (const char* path = plux_test::module_path(source))
    {
        EXPECT_TRUE(module_.open(path)) << module_.get_error();
        entry = reinterpret_cast<vst2::PluginEntryProc>(module_.find_proc("VSTPluginMain"));
    }
    if (entry == nullptr)
    {
        ADD_FAILURE() << "no entry for " << plux_test::to_string(source);
        return false;
    }
    effect_ = entry(&TortureHost::callback);
    if (effect_ == nullptr)
    {
        ADD_FAILURE() << plux_test::to_string(source) << " built no effect";
        return false;
    }
    if (effect_->numParams > max_params)
    {
        ADD_FAILURE() << "more parameters than the host follows";
        return false;
    }
    effect_->dispatcher(effect_, vst2::effOpen, 0, 0, nullptr, 0.0f);
    effect_->dispatcher(effect_, vst2::effSetSampleRate, 0, 0, nullptr, sample_rate);
    effect_->dispatcher(effect_, vst2::effSetBlockSize, 0, max_block, nullptr, 0.0f);
    effect_->dispatcher(effect_, vst2::effMainsChanged, 0, 1, nullptr, 0.0f);
    return true;
}

void TortureHost::stop()
{
    if (effect_ != nullptr)
    {
        effect_->dispatcher(effect_, vst2::effMainsChanged, 0, 0, nullptr, 0.0f);
        effect_->dispatcher(effect_, vst2::effClose, 0, 0, nullptr, 0.0f);
        effect_ = nullptr;
    }
    module_.close();
}

vst2::VstIntPtr TortureHost::callback(vst2::AEffect*, vst2::VstInt32 opcode, vst2::VstInt32 index,
                                      vst2::VstIntPtr, void*, float opt)
{
    if (opcode == vst2::audioMasterVersion)
    {
        return vst2::kVstVersion;
    }
    TortureHost* host = current_host.load();
    return host != nullptr ? host->answer(opcode, index, opt) : 0;
}

vst2::VstIntPtr TortureHost::answer(vst2::VstInt32 opcode, vst2::VstInt32 index, float opt)
{
    const bool param = index >= 0 && index < max_params;
    switch (opcode)
    {
    case vst2::audioMasterAutomate:
        bad_automations += !param || !(opt >= 0.0f && opt <= 1.0f) ? 1 : 0;
        return 1;
    case vst2::audioMasterBeginEdit:
        nested_begins += !param || open_[static_cast<std::size_t>(index)].exchange(true) ? 1 : 0;
        begins_[static_cast<std::size_t>(param ? index : 0)] += param ? 1 : 0;
        return 1;
    case vst2::audioMasterEndEdit:
        lone_ends += !param || !open_[static_cast<std::size_t>(index)].exchange(false) ? 1 : 0;
        ends_[static_cast<std::size_t>(param ? index : 0)] += param ? 1 : 0;
        return 1;
    case vst2::audioMasterGetSampleRate:
        return static_cast<vst2::VstIntPtr>(sample_rate);
    case vst2::audioMasterGetBlockSize:
        return max_block;
    default:
        return 0;
    }
}

} // namespace robustness
