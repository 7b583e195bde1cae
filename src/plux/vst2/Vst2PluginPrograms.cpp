#include <algorithm>
#include <limits>
#include <span>

#include "plux/DspInterface.hpp"
#include "plux/vst2/RoundingGuard.hpp"
#include "plux/vst2/Vst2Plugin.hpp"
#include "plux/vst2/Vst2PluginDetail.hpp"

// Programs and chunks.
namespace plux
{

namespace
{

// The host's fields for program names, terminating zero included.
constexpr int prog_name_size = 23;
constexpr int indexed_name_size = 64;

// Brings a bank from a chunk to the shape the effect saves, so that what a host restores it can
// save again: one value per parameter in every program (a missing value is NaN, which leaves its
// parameter as it is, as the missing value did; surplus values belong to no parameter) and
// records of one size. False when the programs' extra data differ in size: such a bank cannot be
// written back.
bool conform_bank(BankManager& bank, int nbr_param)
{
    for (int i = 0; i < bank.get_nbr_prog(); ++i)
    {
        bank.use_prog(i).use_values().resize(static_cast<std::size_t>(nbr_param),
                                             std::numeric_limits<float>::quiet_NaN());
    }
    for (int i = 1; i < bank.get_nbr_prog(); ++i)
    {
        if (bank.use_prog(i).get_size() != bank.use_prog(0).get_size())
        {
            return false;
        }
    }
    return bank.get_size() >= 0;
}

} // namespace

void Vst2Plugin::sync_current_prog()
{
    const int cur = getProgram();
    if (!prog_applied_ || cur < 0 || cur >= bank_.get_nbr_prog())
    {
        return;
    }
    ProgramSlot& prog = bank_.use_prog(cur);
    prog.set_name(dsp_->get_prog_name());
    dsp_->save_prog(prog.use_values());
    prog.set_name(dsp_->get_prog_name());
}

void Vst2Plugin::select_prog(int program)
{
    RoundingGuard guard;
    AudioEffectX::setProgram(program);
    const ProgramSlot prog = bank_.use_prog(program);
    apply_prog(prog, prio_program, true, false);
    prog_applied_ = true;
}

void Vst2Plugin::setProgram(vst2::VstInt32 program)
{
    std::lock_guard lock(prog_mutex_);
    if (program < 0 || program >= bank_.get_nbr_prog())
    {
        return;
    }
    sync_current_prog();
    select_prog(program);
}

void Vst2Plugin::setProgramName(const char* name)
{
    std::lock_guard lock(prog_mutex_);
    const int cur = getProgram();
    if (cur < 0 || cur >= bank_.get_nbr_prog())
    {
        return;
    }
    ProgramSlot& prog = bank_.use_prog(cur);
    prog.set_name(name);
    dsp_->set_prog_name(prog.get_name());
}

void Vst2Plugin::getProgramName(char* name)
{
    std::lock_guard lock(prog_mutex_);
    const int cur = getProgram();
    vst2_detail::copy_text(name, prog_name_size,
                           cur >= 0 && cur < bank_.get_nbr_prog() ? dsp_->get_prog_name()
                                                                  : std::string());
}

bool Vst2Plugin::getProgramNameIndexed(vst2::VstInt32 /*category*/, vst2::VstInt32 index,
                                       char* text)
{
    std::lock_guard lock(prog_mutex_);
    if (index < 0 || index >= bank_.get_nbr_prog())
    {
        return false;
    }
    const std::string name = index == getProgram() ? dsp_->get_prog_name()
                                                   : std::string(bank_.use_prog(index).get_name());
    vst2_detail::copy_text(text, indexed_name_size, name);
    return true;
}

BankManager Vst2Plugin::get_bank()
{
    std::lock_guard lock(prog_mutex_);
    sync_current_prog();
    return bank_;
}

vst2::VstInt32 Vst2Plugin::getChunk(void** data, bool is_preset)
{
    std::lock_guard lock(prog_mutex_);
    *data = nullptr;
    sync_current_prog();

    const basic::SerializableInterface* state = nullptr;
    const int cur = getProgram();
    if (is_preset)
    {
        if (cur < 0 || cur >= bank_.get_nbr_prog())
        {
            return 0;
        }
        state = &bank_.use_prog(cur);
    }
    else if (const auto* alt = dsp_->use_alt_state(); alt != nullptr)
    {
        state = alt;
    }
    else
    {
        state = &bank_;
    }
    const int size = state->get_size();
    if (size <= 0)
    {
        return 0;
    }
    chunk_.assign(static_cast<std::size_t>(size), 0);
    if (state->write(chunk_) != 0)
    {
        chunk_.clear();
        return 0;
    }
    *data = chunk_.data();
    return size;
}

vst2::VstInt32 Vst2Plugin::setChunk(void* data, vst2::VstInt32 byte_size, bool is_preset)
{
    std::lock_guard lock(prog_mutex_);
    const std::span<const std::uint8_t> src(static_cast<const std::uint8_t*>(data),
                                            static_cast<std::size_t>(byte_size));
    int cur = getProgram();
    const int nbr_param = dsp_->get_nbr_param();
    if (is_preset)
    {
        if (cur < 0 || cur >= bank_.get_nbr_prog())
        {
            return 0;
        }
        BankManager bank = bank_;
        if (bank.use_prog(cur).read(src) != 0 || !conform_bank(bank, nbr_param))
        {
            return 0;
        }
        bank_ = std::move(bank);
    }
    else if (auto* alt = dsp_->use_alt_state(); alt != nullptr)
    {
        if (alt->read(src) != 0)
        {
            return 0;
        }
        sync_current_prog();
    }
    else
    {
        BankManager bank;
        if (bank.read(src) != 0 || bank.get_nbr_prog() == 0 || !conform_bank(bank, nbr_param))
        {
            return 0;
        }
        bank_ = std::move(bank);
        // The host was told another number of programs at start; indices stay within the bank.
        cur = std::clamp(cur, 0, bank_.get_nbr_prog() - 1);
    }
    select_prog(cur);
    return 1;
}

} // namespace plux
