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

// A host that answers only what the entry needs; everything else is 0, as a minimal host does.
vst2::VstIntPtr host_callback(vst2::AEffect*, vst2::VstInt32 opcode, vst2::VstInt32,
                              vst2::VstIntPtr, void*, float)
{
    return opcode == vst2::audioMasterVersion ? vst2::kVstVersion : 0;
}

} // namespace

FuzzEffect::FuzzEffect()
{
    use_private_config_home();
    effect_ = plux::vst2_entry(&host_callback, plux::use_effect_factory());
    if (effect_ == nullptr)
    {
        fail("the effect cannot be built");
    }
    const auto bank = sys::get_resource("QBNK", "static_presets");
    builtin_bank_.assign(bank.begin() + 8, bank.end());
    for (auto& buf : in_)
    {
        buf.resize(max_frames);
        for (int i = 0; i < max_frames; ++i)
        {
            buf[static_cast<std::size_t>(i)] = (i / 32) % 2 == 0 ? 1.0f : -1.0f;
        }
    }
    for (auto& buf : out_)
    {
        buf.resize(max_frames);
    }
    dispatch(vst2::effOpen);
    dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 44100.0f);
    dispatch(vst2::effSetBlockSize, 0, max_frames);
    dispatch(vst2::effMainsChanged, 0, 1);
}

FuzzEffect::~FuzzEffect()
{
    dispatch(vst2::effMainsChanged, 0, 0);
    dispatch(vst2::effClose);
}

plux::Vst2WinPlugin& FuzzEffect::use_plugin()
{
    return dynamic_cast<plux::Vst2WinPlugin&>(*static_cast<vst2::AudioEffect*>(effect_->object));
}

vst2::VstIntPtr FuzzEffect::dispatch(vst2::VstInt32 opcode, vst2::VstInt32 index,
                                     vst2::VstIntPtr value, void* ptr, float opt)
{
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

void FuzzEffect::reset()
{
    if (set_chunk(builtin_bank_, false) != 1)
    {
        fail("the built-in bank is refused as a chunk");
    }
    dispatch(vst2::effSetProgram, 0, 0);
}

void FuzzEffect::process(int frames)
{
    float* in[] = {in_[0].data(), in_[1].data()};
    float* out[] = {out_[0].data(), out_[1].data()};
    effect_->processReplacing(effect_, in, out, frames);
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
    for (int i = 0; i < effect_->numParams; ++i)
    {
        const float value = effect_->getParameter(effect_, i);
        if (!(value >= 0.0f && value <= 1.0f))
        {
            fail("a parameter outside 0..1");
        }
    }
}

std::vector<std::uint8_t> FuzzEffect::get_chunk(bool one_program)
{
    void* data = nullptr;
    const auto size = dispatch(vst2::effGetChunk, one_program ? 1 : 0, 0, &data);
    if (size <= 0 || data == nullptr)
    {
        return {};
    }
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    return {bytes, bytes + size};
}

vst2::VstIntPtr FuzzEffect::set_chunk(std::span<const std::uint8_t> data, bool one_program)
{
    // A copy the size of the data, so that the sanitizer sees any read past what the host gave.
    std::vector<std::uint8_t> copy(data.begin(), data.end());
    return dispatch(vst2::effSetChunk, one_program ? 1 : 0,
                    static_cast<vst2::VstIntPtr>(copy.size()), copy.data());
}

} // namespace fuzz
