// Draws the editor's artwork and writes it as picture resources, with two previews drawn through
// the toolkit's own decoders:
//   morvane_artwork RESOURCE_FOLDER PREVIEW_FOLDER
// Everything is drawn from code (shapes, light, noise) and the DejaVu typefaces, so the same
// sources give the same files.

#include <filesystem>
#include <fstream>
#include <iostream>

#include "ApicWriter.hpp"
#include "Art.hpp"
#include "Preview.hpp"

namespace
{

bool write_file(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv)
{
    using namespace artwork;
    if (argc != 3)
    {
        std::cerr << "usage: morvane_artwork RESOURCE_FOLDER PREVIEW_FOLDER\n";
        return 2;
    }
    const std::filesystem::path res_dir = argv[1];
    const std::filesystem::path docs_dir = argv[2];
    try
    {
        const std::string fonts_dir = MORVANE_DEJAVU_DIR;
        Fonts fonts{std::make_unique<Typeface>(fonts_dir + "/DejaVuSansCondensed-Bold.ttf"),
                    std::make_unique<Typeface>(fonts_dir + "/DejaVuSans-Bold.ttf"),
                    std::make_unique<Typeface>(fonts_dir + "/DejaVuSansCondensed-Bold.ttf")};

        std::map<std::string, Canvas> pictures = draw_controls(fonts);
        for (int i = 0; i < layout::large_knob.frames; ++i)
        {
            const std::string name = "kn_11_" + std::to_string(i);
            pictures[name] = draw_knob_frame(layout::large_knob, i, layout::anchor_of(name));
        }
        for (int i = 0; i < layout::small_knob.frames; ++i)
        {
            const std::string name = "kn_12_" + std::to_string(i);
            pictures[name] = draw_knob_frame(layout::small_knob, i, layout::anchor_of(name));
        }
        pictures["kn_11_p"] =
            draw_knob_background(layout::large_knob, layout::anchor_of("kn_11_p"), 91, 90);
        pictures["kn_12_p"] =
            draw_knob_background(layout::small_knob, layout::anchor_of("kn_12_p"), 50, 50);
        pictures["kn_11_spn"] = draw_pointer_dot(layout::large_knob);
        pictures["kn_12_spn"] = draw_pointer_dot(layout::small_knob);
        pictures["arw_middlesize"] =
            draw_drag_arrows(layout::large_knob, layout::anchor_of("arw_middlesize"), 41, 39);
        pictures["arw_littlesize"] =
            draw_drag_arrows(layout::small_knob, layout::anchor_of("arw_littlesize"), 27, 25);
        pictures["bkg_21_main"] = draw_background(fonts);

        std::filesystem::create_directories(res_dir);
        std::filesystem::create_directories(docs_dir);
        Resources resources;
        for (const auto& info : layout::pictures)
        {
            const std::string name(info.name);
            const auto it = pictures.find(name);
            if (it == pictures.end())
            {
                std::cerr << "morvane_artwork: nothing draws " << name << "\n";
                return 1;
            }
            resources[name] =
                name == "bkg_21_main" ? apic::opaque(it->second) : apic::with_alpha(it->second);
        }
        const FontStrip strip = draw_font_strip(*fonts.value);
        resources["font_02"] = apic::unicolour_font(strip.width, strip.height, strip.coverage);
        for (const auto& [name, bytes] : resources)
        {
            if (!write_file(res_dir / (name + ".apic"), bytes))
            {
                std::cerr << "morvane_artwork: cannot write " << name << ".apic\n";
                return 1;
            }
        }
        if (!write_contact_sheet(resources, (docs_dir / "artwork-contact-sheet.png").string()))
        {
            return 1;
        }
    }
    catch (const std::exception& e)
    {
        std::cerr << "morvane_artwork: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
