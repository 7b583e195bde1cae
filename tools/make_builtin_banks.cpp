// Writes the two built-in preset banks of the effect, byte-identical bank files that the plug-in
// module carries as resources: make_builtin_banks OUTPUT_FOLDER
// The values are normalised parameter values given by their float bit patterns, so that the files
// do not depend on how a compiler rounds decimal constants.

#include <bit>
#include <cstdint>
#include <cstdio>
#include <string>

#include "plux/prog/BankFile.hpp"
#include "plux/prog/BankManager.hpp"

namespace
{

struct Preset
{
    const char* name;
    // Cutoff Freq, Resonance, Nbr Bands, Dist Gain, Dist Routing, Band Spacing, Evolution, Tone.
    std::uint32_t bits[8];
};

constexpr Preset presets[] = {
    {"Base",
     {0x3F149A78, 0x00000000, 0x00000000, 0x00000000, 0x3F000000, 0x3E800000, 0x3F000000,
      0x3F000000}},
    {"Monkey on the moon",
     {0x3EDD6754, 0x3E8DF000, 0x3F800000, 0x3F4B0000, 0x00000000, 0x00000000, 0x3F000000,
      0x3F000000}},
    {"No matter",
     {0x00000000, 0x00000000, 0x3F800000, 0x3EEEE362, 0x3F800000, 0x00000000, 0x3F000000,
      0x3F800000}},
    {"The Zuk smooth",
     {0x00000000, 0x00000000, 0x3F800000, 0x3EEEE362, 0x3F800000, 0x3F050800, 0x3F000000,
      0x3F800000}},
    {"Valkiry dance",
     {0x00000000, 0x00000000, 0x3E749F4A, 0x3EEEE362, 0x3F800000, 0x3F050800, 0x3F000000,
      0x3F800000}},
    {"The man who said zog zog",
     {0x3E9DFFEC, 0x3E7C0539, 0x3F349F4A, 0x3EB00000, 0x3F800000, 0x3ED00FFF, 0x3F1E0000,
      0x3F2AAAAB}},
    {"Yellow cheese smells bad",
     {0x3E8811FF, 0x3E7C0539, 0x3EC71C72, 0x3EB00000, 0x3F800000, 0x3ECC0000, 0x3E77E000,
      0x3F2AAAAB}},
    {"Supra cat",
     {0x3E3023FD, 0x3F28ADC2, 0x3F800000, 0x3F452000, 0x3F800000, 0x3EC0102C, 0x3F6B0000,
      0x3F04508D}},
};

// The resource names are these in capitals.
constexpr const char* file_names[] = {"static_presets.pbk", "default_preset_bank.pbk"};

plux::BankManager make_bank()
{
    plux::BankManager bank;
    bank.resize(static_cast<int>(std::size(presets)));
    for (int i = 0; i < bank.get_nbr_prog(); ++i)
    {
        const Preset& preset = presets[i];
        plux::ProgramSlot& prog = bank.use_prog(i);
        prog.set_name(preset.name);
        for (const std::uint32_t bits : preset.bits)
        {
            prog.use_values().push_back(std::bit_cast<float>(bits));
        }
    }
    return bank;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: make_builtin_banks OUTPUT_FOLDER\n");
        return 2;
    }
    const plux::BankManager bank = make_bank();
    for (const char* file_name : file_names)
    {
        const std::string path = std::string(argv[1]) + "/" + file_name;
        const int ret = plux::save_bank_file(path, bank);
        if (ret != 0)
        {
            std::fprintf(stderr, "make_builtin_banks: cannot write %s (code %d)\n", path.c_str(),
                         ret);
            return 1;
        }
        std::printf("%s: %d bytes\n", path.c_str(), bank.get_size() + 8);
    }
    return 0;
}
