#pragma once

#include <array>
#include <string_view>

// Where the editor puts things: the pictures it loads with the point of each that lands on a
// control's position (its anchor), and the controls' positions in the 300 x 335 window. The
// artwork is drawn to fit these; the preview composes the editor from them.
namespace artwork::layout
{

struct Pt
{
    int x = 0;
    int y = 0;
};

constexpr int window_width = 300;
constexpr int window_height = 335;
constexpr int background_height = 338;

struct PictureInfo
{
    std::string_view name;
    Pt anchor;
};

// In the editor's loading order.
constexpr std::array<PictureInfo, 55> pictures = {{
    {"arw_littlesize", {12, 12}},
    {"arw_middlesize", {18, 18}},
    {"bkg_21_main", {0, 0}},
    {"ff_10_0", {12, 8}},
    {"ff_10_1", {12, 8}},
    {"ff_11_0", {12, 8}},
    {"ff_11_1", {12, 8}},
    {"kn_11_0", {36, 36}},
    {"kn_11_1", {36, 36}},
    {"kn_11_2", {36, 36}},
    {"kn_11_3", {36, 36}},
    {"kn_11_p", {43, 42}},
    {"kn_11_spn", {0, 1}},
    {"kn_12_0", {19, 20}},
    {"kn_12_1", {20, 20}},
    {"kn_12_2", {20, 19}},
    {"kn_12_3", {20, 20}},
    {"kn_12_4", {20, 20}},
    {"kn_12_5", {20, 20}},
    {"kn_12_6", {20, 20}},
    {"kn_12_7", {20, 20}},
    {"kn_12_p", {23, 23}},
    {"kn_12_spn", {0, 1}},
    {"pb_31_0", {8, 8}},
    {"pb_31_1", {8, 8}},
    {"pb_32_0", {8, 8}},
    {"pb_32_1", {8, 8}},
    {"pb_33_0", {8, 8}},
    {"pb_33_1", {8, 8}},
    {"pb_34_0", {8, 8}},
    {"pb_34_1", {8, 8}},
    {"pb_35_0", {8, 8}},
    {"pb_35_1", {8, 8}},
    {"pb_36_0", {8, 8}},
    {"pb_36_1", {8, 8}},
    {"pb_37_0", {8, 8}},
    {"pb_37_1", {8, 8}},
    {"pb_38_0", {8, 8}},
    {"pb_38_1", {8, 8}},
    {"pb_39_0", {0, 0}},
    {"pb_39_1", {0, 0}},
    {"pb_40_0", {0, 0}},
    {"pb_40_1", {0, 0}},
    {"pb_55_0", {15, 15}},
    {"pb_55_1", {15, 15}},
    {"fd_03", {5, 13}},
    {"fd_07", {3, 9}},
    {"sp_03_dwn_0", {9, -15}},
    {"sp_03_dwn_1", {9, -15}},
    {"sp_03_up_0", {9, 26}},
    {"sp_03_up_1", {9, 26}},
    {"sp_03_hnd_0", {13, 14}},
    {"sp_03_hnd_1", {13, 14}},
    {"tl_01_0", {5, 5}},
    {"tl_01_1", {5, 5}},
}};

constexpr Pt anchor_of(std::string_view name)
{
    for (const auto& p : pictures)
    {
        if (p.name == name)
        {
            return p.anchor;
        }
    }
    return {};
}

// Knobs. A knob's pointer dot is drawn with its picture's pixel (0, 1) on the pointer point, so
// the dot's centre, and with it the centre the dot circles, sits half the dot's size right of
// and half its size minus one below the knob's position; the caps and scales are drawn around
// that centre.
struct KnobStyle
{
    int dot_size;
    float pointer_radius;
    // Turns: the frame of index i shows the cap at phase_start + period i / frames.
    float phase_start;
    float period;
    int frames;

    constexpr float centre_dx() const { return dot_size * 0.5f; }
    constexpr float centre_dy() const { return dot_size * 0.5f - 1.0f; }
};

constexpr KnobStyle large_knob{5, 25.0f, 0.0078125f, 0.03125f, 4};
constexpr KnobStyle small_knob{3, 15.0f, 0.0f, 0.14285715f, 8};
// The pointer sweeps from 225 degrees at value 0 to -45 degrees at value 1.
constexpr float angle_offset = 0.625f;
constexpr float angle_span = -0.75f;

// Main panel, window coordinates of the controls' positions.
constexpr Pt cutoff_knob{150, 163};
constexpr Pt cutoff_box{144, 217};
constexpr Pt resonance_knob{40, 226};
constexpr Pt resonance_box{40, 263};
constexpr Pt bands_spin{66, 50};
constexpr Pt bands_box{32, 41};
constexpr Pt gain_knob{260, 100};
constexpr Pt gain_box{260, 147};
constexpr Pt routing_switch{256, 40};
constexpr Pt spacing_knob{40, 100};
constexpr Pt spacing_box{40, 156};
constexpr Pt evolution_knob{260, 226};
constexpr Pt evolution_box{260, 263};
constexpr Pt tone_fader{100, 261};
constexpr int tone_travel = 90;
constexpr Pt note_switch{147, 87};
// Value boxes: 72 x 12 with the position at the top centre; the narrow one 24 x 12.
constexpr int box_width = 72;
constexpr int narrow_box_width = 24;
constexpr int box_height = 12;

// The preset panel's controls are placed relative to its control group, which the editor puts
// at this point of the window, in the strip below the main panel.
constexpr Pt preset_group{0, 282};
constexpr Pt in_window(Pt p)
{
    return {p.x + preset_group.x, p.y + preset_group.y};
}
constexpr Pt number_button(int i)
{
    return in_window({68 + 20 * i, 15});
}
constexpr Pt memory_switch = in_window({232, 22});
constexpr Pt load_button = in_window({63, 25});
constexpr Pt save_button = in_window({183, 25});
constexpr Pt morph_fader = in_window({102, 33});
constexpr int morph_travel = 50;
constexpr Pt morph_box = in_window({168, 28});
constexpr Pt setup_button = in_window({276, 20});

// Dark text of the value boxes, 0x00RRGGBB.
constexpr unsigned value_text_colour = 0x231E16;

} // namespace artwork::layout
