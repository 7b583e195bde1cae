#include <cmath>

#include "Art.hpp"
#include "Shading.hpp"

namespace artwork
{

namespace
{

using layout::Pt;

float fx(int v)
{
    return static_cast<float>(v);
}

// Brushed, slightly warm metal, darker towards the edges.
void panel_surface(Canvas& c)
{
    const float w = fx(c.width());
    const float h = fx(c.height());
    c.paint(
        [&](float x, float y)
        {
            const float t = y / h;
            Rgba base = lerp(hex(colours::panel_top), hex(colours::panel_bottom), t);
            const float streaks = value_noise(x * 0.04f, y * 1.7f, 7) - 0.5f;
            const float grain = hash(static_cast<int>(x), static_cast<int>(y), 11) - 0.5f;
            const float ex = std::min(x, w - x) / 40.0f;
            const float ey = std::min(y, h - y) / 40.0f;
            const float vignette = 0.9f + 0.1f * smoothstep(0.0f, 1.0f, std::min(ex, ey));
            base = shade(base, vignette * (1.0f + 0.05f * streaks + 0.035f * grain));
            base.a = 1.0f;
            return base;
        },
        1);
}

// An engraved line: a dark groove with a lit lower edge.
void groove(Canvas& c, float x1, float y1, float x2, float y2, float opacity = 1.0f)
{
    c.paint(
        [&](float x, float y)
        {
            const Rgba dark =
                hex(0x0E0D0B) * (0.7f * opacity * cover(segment(x, y, x1, y1, x2, y2, 0.5f)));
            const Rgba lit =
                hex(0x57504A) *
                (0.45f * opacity * cover(segment(x, y, x1 + 0.0f, y1 + 1.0f, x2, y2 + 1.0f, 0.5f)));
            return over(dark, lit);
        },
        4);
}

// A recess with a soft inner shadow at its top: the preset strip and the panel's sections.
void recess(Canvas& c, float x1, float y1, float x2, float y2, float radius, std::uint32_t colour)
{
    c.paint(
        [&](float x, float y)
        {
            const float d = rounded_box(x, y, x1, y1, x2, y2, radius);
            if (d > 1.5f)
            {
                return Rgba{};
            }
            const float inside = cover(d);
            const float depth = clamp01(-d / 5.0f);
            const float from_top = clamp01((y - y1) / 6.0f);
            Rgba fill = shade(hex(colour), 0.75f + 0.25f * std::min(depth, from_top));
            fill.a = 1.0f;
            const Rgba rim_dark =
                hex(0x0A0908) * (0.8f * cover(std::abs(d) - 0.5f) * (1.0f - smoothstep(y1, y2, y)));
            const Rgba rim_lit =
                hex(0x5A534B) * (0.5f * cover(std::abs(d - 0.6f) - 0.45f) * smoothstep(y1, y2, y));
            return over(rim_lit, over(rim_dark, fill * inside));
        },
        4);
}

// A lit display window behind a value box whose top centre is box and width w; the glass
// reaches margin pixels beyond the box at either side.
void display_window(Canvas& c, Pt box, int w, float margin = 1.0f)
{
    const float x1 = fx(box.x) - fx(w) * 0.5f - margin;
    const float x2 = fx(box.x) + fx(w) * 0.5f + margin;
    const float y1 = fx(box.y) - 2.0f;
    const float y2 = fx(box.y) + fx(layout::box_height) + 2.0f;
    c.paint(
        [&](float x, float y)
        {
            const float bezel = rounded_box(x, y, x1 - 1.5f, y1 - 1.5f, x2 + 1.5f, y2 + 1.5f, 3.5f);
            const float glass = rounded_box(x, y, x1, y1, x2, y2, 2.0f);
            const float t = clamp01((y - y1) / (y2 - y1));
            Rgba lcd = lerp(hex(colours::lcd_top), hex(colours::lcd_bottom), t);
            // Shadow of the bezel on the glass, and a faint reflection across its upper half.
            lcd = shade(lcd, 0.72f + 0.28f * smoothstep(y1, y1 + 2.5f, y) -
                                 0.06f * (1.0f - smoothstep(x1, x1 + 2.0f, x)));
            lcd = lcd + hex(0xFFFFFF) * (0.05f * (1.0f - smoothstep(y1 + 2.0f, y1 + 6.0f, y)));
            lcd.a = 1.0f;
            const Rgba frame = hex(0x0F0E0C) * cover(bezel);
            const Rgba lip = hex(0x625A50) *
                             (0.55f * cover(std::abs(bezel) - 0.5f) * smoothstep(y1, y2 + 2.0f, y));
            return over(lcd * cover(glass), over(lip, frame));
        },
        4);
}

// Print on the panel: light letters with a dark edge beneath, as if silk-screened.
void print(Canvas& c, Typeface& face, float size, const std::string& text, float cx, float baseline,
           std::uint32_t colour = colours::print, float tracking = 1.0f)
{
    face.set_size(size);
    const auto t = latin(text);
    Canvas ink(c.width(), c.height());
    face.draw_centred(ink, t, cx, baseline, hex(colour), tracking);
    c.draw(ink.silhouette(hex(0x000000), 0.0f), 0, 1, 0.55f);
    c.draw(ink, 0, 0);
}

void print_left(Canvas& c, Typeface& face, float size, const std::string& text, float x,
                float baseline, std::uint32_t colour = colours::print, float tracking = 1.0f)
{
    face.set_size(size);
    Canvas ink(c.width(), c.height());
    face.draw(ink, latin(text), x, baseline, hex(colour), tracking);
    c.draw(ink.silhouette(hex(0x000000), 0.0f), 0, 1, 0.55f);
    c.draw(ink, 0, 0);
}

// The slot a fader's handle runs in, with ticks; (x, y) is the handle's position at value 0.
void fader_slot(Canvas& c, Pt start, int travel, int ticks, float tick_y, float tick_len)
{
    const float y = fx(start.y) + 0.5f;
    const float x1 = fx(start.x) + 0.5f;
    const float x2 = x1 + fx(travel);
    c.paint(
        [&](float x, float yy)
        {
            const float d = rounded_box(x, yy, x1 - 4.0f, y - 2.0f, x2 + 4.0f, y + 2.0f, 2.0f);
            const Rgba slot = hex(0x080706) * cover(d);
            const Rgba lip = hex(0x615950) * (0.5f * cover(std::abs(d) - 0.5f) *
                                              smoothstep(y - 1.0f, y + 2.5f, yy));
            float tick = 1e9f;
            for (int i = 0; i < ticks; ++i)
            {
                const float tx = x1 + fx(travel) * fx(i) / fx(ticks - 1);
                const bool major = i == 0 || i == ticks - 1 || i == ticks / 2;
                tick = std::min(tick, segment(x, yy, tx, tick_y, tx,
                                              tick_y + (major ? tick_len : tick_len * 0.6f), 0.5f));
            }
            return over(hex(colours::print_dim) * (0.8f * cover(tick)), over(lip, slot));
        },
        4);
}

void screw(Canvas& c, float cx, float cy)
{
    c.paint(
        [&](float x, float y)
        {
            const float r = std::hypot(x - cx, y - cy);
            if (r > 4.5f)
            {
                return Rgba{};
            }
            auto height = [&](float hx, float hy)
            {
                const float rr = std::hypot(hx - cx, hy - cy);
                const float dome = std::sqrt(std::max(0.0f, 9.0f - rr * rr)) * 0.6f;
                // A cross slot.
                const float slot =
                    (std::abs(hx - cx - (hy - cy)) < 0.7f || std::abs(hx - cx + (hy - cy)) < 0.7f)
                        ? 0.8f
                        : 0.0f;
                return dome - slot;
            };
            const Vec3 n = normal_of(height, x, y, 0.2f);
            Rgba colour = shade(hex(0x5C564E), 0.35f + 0.7f * diffuse(n));
            colour = colour + hex(0xFFFFFF) * (0.3f * specular(n, 20.0f));
            colour.a = 1.0f;
            const Rgba hole = hex(0x0A0908) * (0.7f * cover(r - 3.8f));
            return over(colour * cover(r - 3.0f), hole);
        },
        4);
}

} // namespace

Canvas draw_background(Fonts& fonts)
{
    using namespace layout;
    Canvas c(window_width, background_height);
    panel_surface(c);
    Typeface& cap = *fonts.caption;
    Typeface& bold = *fonts.bold;

    // Main panel: a frame line, two columns set off by grooves.
    groove(c, 96.0f, 64.0f, 96.0f, 234.0f, 0.8f);
    groove(c, 214.0f, 64.0f, 214.0f, 234.0f, 0.8f);
    groove(c, 6.0f, 279.0f, 294.0f, 279.0f);

    // Name and maker.
    print(c, cap, 7.0f, "TARVEX", 158.0f, 13.0f, colours::print_dim, 3.0f);
    bold.set_size(21.0f);
    {
        const auto name = latin("MORVANE");
        Canvas ink(c.width(), c.height());
        bold.draw_centred(ink, name, 158.0f, 37.0f, hex(0xFFFFFF), 2.5f);
        Canvas lit(c.width(), c.height());
        lit.paint(
            [&](float x, float y)
            {
                const Rgba a = ink.get(static_cast<int>(x), static_cast<int>(y));
                const Rgba tone = lerp(hex(0xF6EDDA), hex(0xC9B99A), clamp01((y - 21.0f) / 16.0f));
                return tone * a.a;
            },
            1);
        c.draw(ink.silhouette(hex(0x000000), 0.8f), 0, 1, 0.8f);
        c.draw(lit, 0, 0);
    }
    print(c, cap, 6.5f, "RESONANT FILTER BANK", 158.0f, 50.0f, colours::amber, 1.6f);

    // Value windows and their captions.
    display_window(c, cutoff_box, box_width);
    print(c, cap, 7.5f, "CUTOFF", fx(cutoff_box.x), fx(cutoff_box.y) - 5.0f);
    display_window(c, resonance_box, box_width);
    print(c, cap, 7.5f, "RESONANCE", fx(resonance_box.x), fx(resonance_box.y) - 5.0f);
    display_window(c, spacing_box, box_width);
    print(c, cap, 7.5f, "SPACING", fx(spacing_box.x), fx(spacing_box.y) - 5.0f);
    display_window(c, gain_box, box_width);
    print(c, cap, 7.5f, "GAIN", fx(gain_box.x), fx(gain_box.y) - 5.0f);
    display_window(c, evolution_box, box_width);
    print(c, cap, 7.5f, "EVOLUTION", fx(evolution_box.x), fx(evolution_box.y) - 5.0f);
    display_window(c, bands_box, narrow_box_width);
    print(c, cap, 7.5f, "BANDS", fx(bands_box.x), fx(bands_box.y) - 5.0f);

    // Switches: what each end means.
    print(c, cap, 7.5f, "ROUTING", 264.0f, 26.0f);
    print_left(c, cap, 7.0f, "POST", 270.0f, 39.0f, colours::print, 0.8f);
    print_left(c, cap, 7.0f, "PRE", 270.0f, 51.0f, colours::print, 0.8f);
    print_left(c, cap, 7.0f, "NOTE", 161.0f, 87.0f, colours::print, 0.8f);
    print_left(c, cap, 7.0f, "Hz", 161.0f, 99.0f, colours::print, 0.8f);

    // Tone fader.
    fader_slot(c, tone_fader, tone_travel, 5, 244.5f, 3.0f);
    print(c, cap, 7.5f, "TONE", fx(tone_fader.x) + fx(tone_travel) * 0.5f + 0.5f, 241.0f);

    // Preset strip.
    recess(c, 3.0f, 283.0f, 297.0f, 333.0f, 5.0f, 0x1D1B18);
    print_left(c, cap, 7.5f, "PRESETS", 9.0f, 300.0f);
    print(c, cap, 6.5f, "STORE", fx(memory_switch.x), fx(memory_switch.y) - 9.0f,
          colours::print_dim, 1.0f);
    fader_slot(c, morph_fader, morph_travel, 2, fx(morph_fader.y) + 7.0f, 0.0f);
    display_window(c, morph_box, narrow_box_width, 0.0f);
    print(c, cap, 6.5f, "MORPH TIME", fx(morph_fader.x) + 40.0f, 330.5f, colours::print_dim, 1.0f);
    print(c, cap, 6.5f, "SETUP", fx(setup_button.x) + 0.5f, 328.0f, colours::print_dim, 1.0f);

    screw(c, 9.0f, 9.0f);
    screw(c, 291.0f, 9.0f);
    return c;
}

} // namespace artwork
