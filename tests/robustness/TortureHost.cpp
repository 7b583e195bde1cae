#include "TortureHost.hpp"

#include <cmath>
#include <gtest/gtest.h>

#include "plux/vst2/TestEffect.hpp"
#include "plux/vst2/Vst2Entry.hpp"

namespace robustness
{

namespace
{

std::atomic<TortureHost*> current_host{nullptr};

vst2::AEffect* test_entry(vst2::HostCallback host)
{
    static const plux_test::TestFactory factory;
    return plux::vst2_entry(host, factory);
}

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

bool TortureHost::start(EffectSource source)
{
    vst2::PluginEntryProc entry = nullptr;
    switch (source)
    {
    case EffectSource::test_entry:
        entry = &test_entry;
        break;
    case EffectSource::test_module:
        EXPECT_TRUE(module_.open(ROBUSTNESS_TEST_MODULE_PATH)) << module_.get_error();
        break;
    case EffectSource::morvane_module:
#ifdef MORVANE_MODULE_PATH
        EXPECT_TRUE(module_.open(MORVANE_MODULE_PATH)) << module_.get_error();
#endif
        break;
    }
    if (module_.is_open())
    {
        entry = reinterpret_cast<vst2::PluginEntryProc>(module_.find_proc("VSTPluginMain"));
    }
    if (entry == nullptr)
    {
        ADD_FAILURE() << "no entry for " << to_string(source);
        return false;
    }
    effect_ = entry(&TortureHost::callback);
    if (effect_ == nullptr)
    {
        ADD_FAILURE() << to_string(source) << " built no effect";
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

std::vector<std::string> TortureHost::get_problems() const
{
    const std::lock_guard lock(problems_mutex_);
    return problems_;
}

void TortureHost::problem(std::string text)
{
    const std::lock_guard lock(problems_mutex_);
    if (problems_.size() < 100)
    {
        problems_.push_back(std::move(text));
    }
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
        ++automations_;
        if (!param || !(opt >= 0.0f && opt <= 1.0f))
        {
            problem("automate " + std::to_string(index) + " with " + std::to_string(opt));
        }
        return 1;
    case vst2::audioMasterBeginEdit:
        if (!param || open_[static_cast<std::size_t>(index)].exchange(true))
        {
            problem("begin-edit " + std::to_string(index) + " inside an open gesture");
        }
        if (param)
        {
            ++begins_[static_cast<std::size_t>(index)];
        }
        return 1;
    case vst2::audioMasterEndEdit:
        if (!param || !open_[static_cast<std::size_t>(index)].exchange(false))
        {
            problem("end-edit " + std::to_string(index) + " without a gesture");
        }
        if (param)
        {
            ++ends_[static_cast<std::size_t>(index)];
        }
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
