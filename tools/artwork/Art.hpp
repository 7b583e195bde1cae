#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Canvas.hpp"
#include "Layout.hpp"
#include "Typeface.hpp"

namespace artwork
{

// The typefaces of the artwork, all from the DejaVu family.
struct Fonts
{
    std::unique_ptr<Typeface> caption; // panel captions
    std::unique_ptr<Typeface> bold;    // logo, button legends
    std::unique_ptr<Typeface> value;   // the value boxes' bitmap font
};

// Palette of the look: warm graphite, cream print, amber light.
namespace colours
{
constexpr std::uint32_t panel_top = 0x2E2A26;
constexpr std::uint32_t panel_bottom = 0x24211E;
constexpr std::uint32_t print = 0xDDD2BC;
constexpr std::uint32_t print_dim = 0x9C927F;
constexpr std::uint32_t amber = 0xF4A23A;
constexpr std::uint32_t amber_hot = 0xFFE3A8;
constexpr std::uint32_t lcd_top = 0xEDE1BF;
constexpr std::uint32_t lcd_bottom = 0xD9C798;
} // namespace colours

// The knobs: caps at one phase each, their static backgrounds, pointer dots and drag overlays.
Canvas draw_knob_frame(const layout::KnobStyle& style, int index, layout::Pt anchor);
Canvas draw_knob_background(const layout::KnobStyle& style, layout::Pt anchor, int width,
                            int height);
Canvas draw_pointer_dot(const layout::KnobStyle& style);
Canvas draw_drag_arrows(const layout::KnobStyle& style, layout::Pt anchor, int width, int height);

// Buttons, switches, faders, the spin and the mark lights; names as in the layout.
std::map<std::string, Canvas> draw_controls(Fonts& fonts);

// The 300 x 338 background with every caption and decoration.
Canvas draw_background(Fonts& fonts);

// The value boxes' font: 256 glyphs for the bytes of Windows-1252 text, one strip of 12 rows
// and a marker row.
struct FontStrip
{
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> coverage;
};
FontStrip draw_font_strip(Typeface& face);

} // namespace artwork
