#include "FuzzEffect.hpp"

#include <cmath>

#include "plux/EffectFactoryInterface.hpp"
#include "plux/vst2/Vst2Entry.hpp"
#include "plux/vst2/Vst2WinPlugin.hpp"
#include "sys/Resource.hpp"

namespace fuzz
{

namespace
{

vst2::AEffect* entry(vst2::HostCallback host)
{
    return plux::vst2_entry(host, plux::use_effect_factory());
}

} // namespace

FuzzEffect::FuzzEffect()
    : in_(max_frames)
    , out_{in_, in_}
{
    use_private_config_home();
    if (!host_.load_entry(&entry) || !host_.start(44100.0f, max_frames))
    {
        fail("the effect cannot be built");
    }
    const auto bank = sys::get_resource("QBNK", "static_presets");
    builtin_bank_.assign(bank.begin() + 8, bank.end());
    for (int i = 0; i < max_frames; ++i)
    {
        in_[static_cast<std::size_t>(i)] = (i / 32) % 2 == 0 ? 1.0f : -1.0f;
    }
}

plux::Vst2WinPlugin& FuzzEffect::use_plugin()
{
    return dynamic_cast<plux::Vst2WinPlugin&>(
        *static_cast<vst2::AudioEffect*>(use_effect().object));
}

void FuzzEffect::reset()
{
    if (set_chunk(builtin_bank_, false) != 1)
    {
        fail("the built-in bank is refused as a chunk");
    }
    host_.set_program(0);
    host_.use_log().clear();
    host_.clear_received_events();
}

void FuzzEffect::process(int frames)
{
    float* in[] = {in_.data(), in_.data()};
    float* out[] = {out_[0].data(), out_[1].data()};
    host_.process(in, out, frames);
    for (const auto& buf : out_)
    {
        for (int i = 0; i < frames; ++i)
        {
            if (!std::isfinite(buf[static_cast<std::size_t>(i)]))
            {
                fail("a non-finite sample");
            }
        }
    }
}

void FuzzEffect::check_params()
{
    for (int i = 0; i < use_effect().numParams; ++i)
    {
        const float value = host_.get_parameter(i);
        if (!(value >= 0.0f && value <= 1.0f))
        {
            fail("a parameter outside 0..1");
        }
    }
}

vst2::VstIntPtr FuzzEffect::set_chunk(std::span<const std::uint8_t> data, bool one_program)
{
    std::vector<std::uint8_t> copy(data.begin(), data.end());
    return host_.dispatch(vst2::effSetChunk, one_program ? 1 : 0,
                          static_cast<vst2::VstIntPtr>(copy.size()), copy.data());
}

} // namespace fuzz
