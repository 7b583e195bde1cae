// Program and bank chunks as a host restores them from a project file: effSetChunk through the
// dispatcher. The first byte chooses a program (bit 0) or bank chunk; the rest is the chunk.
//
// Whatever the chunk, an accepted one must leave a state the host can save and restore: both
// chunks can be taken, the bank chunk is accepted back and gives the same bytes again, the
// parameters stay in 0..1 and the audio stays finite.
#include <cstddef>
#include <cstdint>
#include <span>

#include "FuzzEffect.hpp"

namespace
{

fuzz::FuzzEffect& use_effect()
{
    static fuzz::FuzzEffect effect;
    return effect;
}

void check_saved_state(fuzz::FuzzEffect& effect)
{
    const auto bank = effect.use_host().get_chunk(false);
    if (bank.empty() || effect.use_host().get_chunk(true).empty())
    {
        fuzz::fail("an accepted chunk leaves a state that cannot be saved");
    }
    if (effect.set_chunk(bank, false) != 1)
    {
        fuzz::fail("the saved bank is refused");
    }
    if (effect.use_host().get_chunk(false) != bank)
    {
        fuzz::fail("the saved bank does not restore the same state");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
    {
        return 0;
    }
    fuzz::FuzzEffect& effect = use_effect();
    effect.reset();
    const bool one_program = (data[0] & 1) != 0;
    const auto answer = effect.set_chunk(std::span(data + 1, size - 1), one_program);
    if (answer != 0 && answer != 1)
    {
        fuzz::fail("effSetChunk answers neither 0 nor 1");
    }

    const auto program = effect.use_host().dispatch(vst2::effGetProgram);
    if (program < 0 || program >= effect.use_effect().numPrograms)
    {
        fuzz::fail("the current program is not one the host knows");
    }
    char name[64] = {};
    for (int i = 0; i < effect.use_effect().numPrograms; ++i)
    {
        effect.use_host().dispatch(vst2::effGetProgramNameIndexed, i, -1, name);
    }
    effect.use_host().dispatch(vst2::effGetProgramName, 0, 0, name);
    effect.check_params();
    effect.process(64);
    if (answer == 1)
    {
        check_saved_state(effect);
    }
    return 0;
}
