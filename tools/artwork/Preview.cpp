#include "Preview.hpp"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <memory>
#include <numbers>

#include "Layout.hpp"
#include "PngWriter.hpp"
#include "ravik/FontFactory.hpp"
#include "ravik/PicDataFactory.hpp"
#include "ravik/Picture.hpp"
#include "ravik/RenderingBufferMemory.hpp"
#include "ravik/Text.hpp"

namespace artwork
{

namespace
{

using layout::Pt;
using ravik::Rect;
using ravik::RenderingBufferInterface;

struct Loaded
{
    std::map<std::string, std::unique_ptr<ravik::PicDataInterface>> pictures;
    std::unique_ptr<ravik::FontInterface> font;
};

bool load(const Resources& resources, Loaded& out)
{
    for (const auto& info : layout::pictures)
    {
        const std::string name(info.name);
        const auto it = resources.find(name);
        auto pic =
            it != resources.end() ? ravik::PicDataFactory::create_from_data(it->second) : nullptr;
        if (!pic)
        {
            std::cerr << "morvane_artwork: the picture " << name << " does not load\n";
            return false;
        }
        out.pictures[name] = std::move(pic);
    }
    const auto it = resources.find("font_02");
    out.font = it != resources.end() ? ravik::FontFactory::create_from_data(it->second) : nullptr;
    if (!out.font)
    {
        std::cerr << "morvane_artwork: the font font_02 does not load\n";
        return false;
    }
    return true;
}

// The editor as the widgets draw it, into a buffer that covers a tile (window coordinates).
class EditorView
{
public:
    explicit EditorView(const Loaded& loaded)
        : loaded_(loaded)
    {
    }

    void draw(RenderingBufferInterface& buffer, const Rect& tile) const
    {
        using namespace layout;
        const Target t{buffer, tile, {0, 0, tile.x2 - tile.x1, tile.y2 - tile.y1}};
        place(t, "bkg_21_main", {0, 0});
        knob(t, large_knob, "kn_11", cutoff_knob, 0.5804820f);
        knob(t, small_knob, "kn_12", resonance_knob, 0.0f);
        knob(t, small_knob, "kn_12", gain_knob, 0.0f);
        knob(t, small_knob, "kn_12", spacing_knob, 0.25f);
        knob(t, small_knob, "kn_12", evolution_knob, 0.5f);
        place(t, "sp_03_up_0", bands_spin);
        place(t, "sp_03_hnd_0", bands_spin);
        place(t, "sp_03_dwn_0", bands_spin);
        // Routing Post (value 1) and the note switch in hertz (value 0).
        place(t, "ff_11_0", routing_switch);
        place(t, "ff_11_1", note_switch);
        place(t, "fd_03", {tone_fader.x + tone_travel / 2, tone_fader.y});
        text(t, cutoff_box, box_width, "1000");
        text(t, resonance_box, box_width, "1.000");
        text(t, bands_box, narrow_box_width, "1");
        text(t, gain_box, box_width, "1.000");
        text(t, spacing_box, box_width, "2.000");
        text(t, evolution_box, box_width, "0.000");

        for (int i = 0; i < 8; ++i)
        {
            place(t, "pb_" + std::to_string(31 + i) + "_0", number_button(i));
        }
        place(t, "ff_10_0", memory_switch);
        place(t, "pb_39_0", load_button);
        place(t, "pb_40_0", save_button);
        // A morph time of one second: p = ln 2 / ln 100.
        const auto morph =
            static_cast<int>(std::lround(std::log(2.0) / std::log(100.0) * morph_travel));
        place(t, "fd_07", {morph_fader.x + morph, morph_fader.y});
        text(t, morph_box, narrow_box_width, "1.0");
        place(t, "pb_55_0", setup_button);
    }

private:
    struct Target
    {
        RenderingBufferInterface& buffer;
        Rect tile;
        // The tile in buffer pixels.
        Rect clip;
    };

    ravik::Picture picture(const std::string& name) const
    {
        ravik::Picture p(loaded_.pictures.at(name).get());
        const Pt a = layout::anchor_of(name);
        p.set_origin({a.x, a.y});
        return p;
    }

    void place(const Target& t, const std::string& name, Pt at) const
    {
        picture(name).draw(t.tile.moved({-at.x, -at.y}), t.buffer);
    }

    // As a knob draws: background, the frame for the value turned by the rest of its period,
    // the pointer dot on the pointer point.
    void knob(const Target& t, const layout::KnobStyle& s, const std::string& prefix, Pt at,
              float value) const
    {
        place(t, prefix + "_p", at);
        const double turns = layout::angle_offset + layout::angle_span * value;
        const double u = (turns - s.phase_start) / s.period + 0.5 / s.frames;
        const double phase = (u - std::floor(u)) * s.frames;
        const int index = std::min(static_cast<int>(std::floor(phase)), s.frames - 1);
        const double rest = (phase - index - 0.5) * (s.period / s.frames) * 2.0 * std::numbers::pi;
        picture(prefix + "_" + std::to_string(index))
            .draw_rotated(t.tile.x1 - at.x, t.tile.y1 - at.y, t.clip, rest, t.buffer);
        const double a = 2.0 * std::numbers::pi * turns;
        const double px = at.x + s.pointer_radius * std::cos(a);
        const double py = at.y - s.pointer_radius * std::sin(a);
        picture(prefix + "_spn").draw_at(t.tile.x1 - px, t.tile.y1 - py, t.clip, t.buffer);
    }

    // A centred value box whose position is its top centre.
    void text(const Target& t, Pt at, int width, const std::string& value) const
    {
        const Pt left_top{at.x - width / 2, at.y};
        const ravik::Text line{value, width, layout::box_height, ravik::Text::centre,
                               layout::value_text_colour};
        loaded_.font->draw_text(t.tile.moved({-left_top.x, -left_top.y}), t.buffer, line);
    }

    const Loaded& loaded_;
};

std::vector<std::uint32_t> pixels_of(const ravik::RenderingBufferMemory& b)
{
    return {b.get_pixels(),
            b.get_pixels() + static_cast<std::ptrdiff_t>(b.get_width()) * b.get_height()};
}

bool write_editor(const Loaded& loaded, const std::string& path)
{
    using namespace layout;
    const EditorView view(loaded);
    ravik::RenderingBufferMemory whole(window_width, window_height);
    view.draw(whole, {0, 0, window_width, window_height});

    // The window paints through a 128 x 128 buffer, tile by tile, columns outer.
    ravik::RenderingBufferMemory window(window_width, window_height);
    ravik::RenderingBufferMemory tile_buffer(128, 128);
    tile_buffer.set_target(&window);
    for (int x = 0; x < window_width; x += 128)
    {
        for (int y = 0; y < window_height; y += 128)
        {
            const Rect tile{x, y, std::min(x + 128, window_width),
                            std::min(y + 128, window_height)};
            view.draw(tile_buffer, tile);
            tile_buffer.blit({x, y}, {tile.x2 - tile.x1, tile.y2 - tile.y1});
        }
    }
    if (pixels_of(whole) != pixels_of(window))
    {
        std::cerr << "morvane_artwork: drawing in tiles differs from drawing whole\n";
        return false;
    }
    return write_png(path, window_width, window_height, pixels_of(whole));
}

// Every picture on a dark checker that shows its transparency, its anchor marked by a red cross
// and its name and size beneath, written with the value font.
bool write_sheet(const Loaded& loaded, const std::string& path)
{
    constexpr int sheet_width = 760;
    constexpr int margin = 10;
    struct Cell
    {
        std::string name;
        Rect box; // picture and anchor, picture coordinates
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
        std::string label;
    };
    std::vector<Cell> cells;
    for (const auto& info : layout::pictures)
    {
        const auto& pic = *loaded.pictures.at(std::string(info.name));
        Cell c;
        c.name = info.name;
        c.box = {0, 0, pic.get_width(), pic.get_height()};
        c.box.x1 = std::min(c.box.x1, info.anchor.x - 4);
        c.box.y1 = std::min(c.box.y1, info.anchor.y - 4);
        c.box.x2 = std::max(c.box.x2, info.anchor.x + 5);
        c.box.y2 = std::max(c.box.y2, info.anchor.y + 5);
        c.width = c.box.x2 - c.box.x1;
        c.height = c.box.y2 - c.box.y1 + 14;
        cells.push_back(c);
    }
    for (auto& c : cells)
    {
        const auto& pic = *loaded.pictures.at(c.name);
        c.label =
            c.name + " " + std::to_string(pic.get_width()) + "x" + std::to_string(pic.get_height());
        c.width = std::max(c.width, loaded.font->text_width(c.label));
    }
    int x = margin;
    int y = margin;
    int row_height = 0;
    for (auto& c : cells)
    {
        if (x + c.width > sheet_width - margin)
        {
            x = margin;
            y += row_height + margin;
            row_height = 0;
        }
        c.x = x;
        c.y = y;
        x += c.width + margin;
        row_height = std::max(row_height, c.height);
    }
    const int font_y = y + row_height + 2 * margin;
    const int height = font_y + 5 * 16 + margin;
    ravik::RenderingBufferMemory sheet(sheet_width, height, 0xFF1A1816u);
    auto label = [&](const std::string& s, int lx, int ly, std::uint32_t colour)
    {
        ravik::Text t{s, sheet_width - lx, 12, ravik::Text::left, colour};
        loaded.font->draw_text({-lx, -ly, sheet_width - lx, height - ly}, sheet, t);
    };
    for (const auto& c : cells)
    {
        const auto& pic = *loaded.pictures.at(c.name);
        const int ox = c.x - c.box.x1;
        const int oy = c.y - c.box.y1;
        for (int py = c.box.y1; py < c.box.y2; ++py)
        {
            for (int px = c.box.x1; px < c.box.x2; ++px)
            {
                const bool dark = ((px >> 2) + (py >> 2)) % 2 == 0;
                sheet.set_pixel(px + ox, py + oy, dark ? 0xFF2A2724u : 0xFF36322Eu);
            }
        }
        pic.draw({-ox, -oy, sheet_width - ox, height - oy}, sheet,
                 {0, 0, pic.get_width(), pic.get_height()});
        const Pt a = layout::anchor_of(c.name);
        for (int d = 2; d <= 4; ++d)
        {
            for (const auto& [dx, dy] : {std::pair{d, 0}, {-d, 0}, {0, d}, {0, -d}})
            {
                sheet.set_pixel(a.x + ox + dx, a.y + oy + dy, 0xFFFF3030u);
            }
        }
        label(c.label, c.x, c.y + c.height - 12, 0xDDD2BC);
    }
    std::string ascii;
    for (int b = 0x20; b < 0x7F; ++b)
    {
        ascii += static_cast<char>(b);
    }
    std::string high;
    for (int b = 0xA0; b <= 0xFF; ++b)
    {
        high += static_cast<char>(b);
    }
    label("font_02: " + ascii.substr(0, 48), margin, font_y, 0xDDD2BC);
    label(ascii.substr(48), margin, font_y + 16, 0xDDD2BC);
    label(high, margin, font_y + 32, 0xDDD2BC);
    for (int yy = font_y + 48; yy < font_y + 80; ++yy)
    {
        for (int xx = margin; xx < sheet_width - margin; ++xx)
        {
            sheet.set_pixel(xx, yy, 0xFFE3D5B0u);
        }
    }
    label("440.0   A 5   D#10   ### ERROR ###   Post   Pre   -50.0   0.500   1000", margin + 4,
          font_y + 50, layout::value_text_colour);
    label("\x80 \x85 \x93quoted\x94 caf\xE9 \xC5ngstr\xF6m na\xEFve \xFF", margin + 4, font_y + 66,
          layout::value_text_colour);

    // Twice the size, pixel for pixel, so that the smallest pictures can be seen.
    std::vector<std::uint32_t> big(static_cast<std::size_t>(4 * sheet_width * height));
    for (int yy = 0; yy < 2 * height; ++yy)
    {
        for (int xx = 0; xx < 2 * sheet_width; ++xx)
        {
            big[static_cast<std::size_t>(yy * 2 * sheet_width + xx)] =
                sheet.get_pixel(xx / 2, yy / 2);
        }
    }
    return write_png(path, 2 * sheet_width, 2 * height, big);
}

} // namespace

bool write_previews(const Resources& resources, const std::string& editor_png,
                    const std::string& sheet_png)
{
    Loaded loaded;
    if (!load(resources, loaded))
    {
        return false;
    }
    if (!write_editor(loaded, editor_png) || !write_sheet(loaded, sheet_png))
    {
        std::cerr << "morvane_artwork: cannot write the previews\n";
        return false;
    }
    return true;
}

} // namespace artwork
