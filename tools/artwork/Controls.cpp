#include <cmath>
#include <numbers>

#include "Art.hpp"
#include "Shading.hpp"

namespace artwork
{

namespace
{

struct Box
{
    float x1;
    float y1;
    float x2;
    float y2;
    float radius;
};

// A raised cap with bevelled edges: its soft shadow, then its lit body. Pressed caps sit lower,
// cast almost no shadow and catch less light.
void keycap(Canvas& c, Box b, bool pressed, std::uint32_t base = 0x34302B)
{
    const float drop = pressed ? 0.3f : 1.2f;
    Canvas shadow(c.width(), c.height());
    shadow.paint(
        [&](float x, float y) {
            return hex(0x000000) *
                   cover(rounded_box(x, y - drop, b.x1, b.y1, b.x2, b.y2, b.radius));
        });
    c.draw(shadow.blurred(0.8f), 0, 0, pressed ? 0.5f : 0.8f);
    if (pressed)
    {
        b.y1 += 0.6f;
        b.y2 += 0.6f;
    }
    const Rgba albedo = hex(base);
    const float bevel = 1.6f;
    c.paint(
        [&](float x, float y)
        {
            const float d = rounded_box(x, y, b.x1, b.y1, b.x2, b.y2, b.radius);
            const float coverage = cover(d);
            if (coverage <= 0.0f)
            {
                return Rgba{};
            }
            auto height = [&](float hx, float hy)
            {
                const float inside = -rounded_box(hx, hy, b.x1, b.y1, b.x2, b.y2, b.radius);
                const float t = std::clamp(inside / bevel, 0.0f, 1.0f);
                // A rounded shoulder, then a top that dishes in a little when pressed.
                const float shoulder = std::sqrt(t * (2.0f - t));
                const float cy = (b.y1 + b.y2) * 0.5f;
                const float dish = pressed ? 0.03f * (hy - cy) * (hy - cy) : 0.0f;
                return 1.4f * shoulder + dish;
            };
            const Vec3 n = normal_of(height, x, y, 0.2f);
            const float top = (y - b.y1) / std::max(1.0f, b.y2 - b.y1);
            Rgba colour =
                shade(albedo, (pressed ? 0.62f : 0.8f) + 0.55f * diffuse(n) - 0.18f * top);
            colour = colour + hex(0xFFF2DE) * (specular(n, 30.0f) * (pressed ? 0.12f : 0.3f));
            colour.a = 1.0f;
            return colour * coverage;
        },
        4);
}

// A legend printed on a cap, with its own glow when lit.
void legend(Canvas& c, Typeface& face, float size, const std::string& text, float cx,
            float baseline, bool lit, float tracking = 0.0f)
{
    face.set_size(size);
    const auto t = latin(text);
    if (lit)
    {
        Canvas glow(c.width(), c.height());
        face.draw_centred(glow, t, cx, baseline, hex(colours::amber), tracking);
        c.draw(glow.silhouette(hex(colours::amber), 1.2f), 0, 0, 0.9f);
        face.draw_centred(c, t, cx, baseline, hex(colours::amber_hot), tracking);
    }
    else
    {
        face.draw_centred(c, t, cx, baseline, hex(colours::print), tracking);
    }
}

Canvas number_button(Fonts& fonts, int number, bool pressed)
{
    Canvas c(16, 16);
    keycap(c, {1.0f, 0.5f, 15.0f, 14.2f, 2.6f}, pressed);
    legend(c, *fonts.bold, 9.0f, std::to_string(number), 8.0f, pressed ? 11.0f : 10.0f, pressed);
    return c;
}

Canvas bank_button(Fonts& fonts, const std::string& text, bool pressed)
{
    Canvas c(37, 16);
    keycap(c, {0.5f, 0.5f, 35.5f, 14.2f, 2.6f}, pressed);
    legend(c, *fonts.caption, 8.0f, text, 18.0f, pressed ? 11.0f : 10.0f, pressed, 1.0f);
    return c;
}

Canvas setup_button(bool pressed)
{
    Canvas c(31, 31);
    const float cx = 15.5f;
    const float cy = 15.5f;
    Canvas shadow(31, 31);
    shadow.paint([&](float x, float y)
                 { return hex(0x000000) * cover(std::hypot(x - cx, y - cy - 1.3f) - 12.6f); });
    c.draw(shadow.blurred(1.0f), 0, 0, pressed ? 0.5f : 0.85f);
    const float lift = pressed ? 0.6f : 0.0f;
    c.paint(
        [&](float x, float y)
        {
            const float r = std::hypot(x - cx, y - cy - lift);
            const float coverage = cover(r - 12.6f);
            if (coverage <= 0.0f)
            {
                return Rgba{};
            }
            auto height = [&](float hx, float hy)
            {
                const float t =
                    std::clamp((12.6f - std::hypot(hx - cx, hy - cy - lift)) / 2.4f, 0.0f, 1.0f);
                return 1.6f * std::sqrt(t * (2.0f - t));
            };
            const Vec3 n = normal_of(height, x, y, 0.2f);
            Rgba colour = shade(hex(0x34302B), (pressed ? 0.62f : 0.8f) + 0.55f * diffuse(n));
            colour = colour + hex(0xFFF2DE) * (specular(n, 30.0f) * (pressed ? 0.12f : 0.3f));
            colour.a = 1.0f;
            return colour * coverage;
        },
        4);
    // A gear: eight teeth round a hub with a hole.
    Canvas gear(31, 31);
    gear.paint(
        [&](float x, float y)
        {
            const float dx = x - cx;
            const float dy = y - cy - lift;
            const float r = std::hypot(dx, dy);
            const float a = std::atan2(dy, dx) + std::numbers::pi_v<float> / 8.0f;
            const float tooth = smoothstep(0.1f, 0.45f, std::cos(8.0f * a));
            const float outer = 5.3f + 1.9f * tooth;
            const float body = std::max(r - outer, 2.2f - r);
            return hex(pressed ? colours::amber_hot : colours::print) * cover(body * 1.4f);
        },
        6);
    if (pressed)
    {
        c.draw(gear.silhouette(hex(colours::amber), 1.3f), 0, 0, 0.9f);
    }
    c.draw(gear, 0, 0);
    return c;
}

// A mark light: a small lens that glows in its colour.
Canvas mark_light(std::uint32_t colour)
{
    Canvas c(11, 11);
    const float centre = 5.5f;
    c.paint(
        [&](float x, float y)
        {
            const float r = std::hypot(x - centre, y - centre);
            const Rgba glow = hex(colour) * (0.55f * std::exp(-r * r / 6.0f));
            const float t = clamp01(r / 2.8f);
            const Rgba lens = lerp(hex(0xFFFFFF), hex(colour), std::sqrt(t)) * cover(r - 2.8f);
            return over(lens, glow);
        },
        6);
    return c;
}

// A small cap with a lens that lights red in store mode.
Canvas memory_switch(bool store)
{
    Canvas c(24, 18);
    keycap(c, {1.5f, 0.5f, 22.5f, 15.6f, 3.0f}, store);
    const float cx = 12.0f;
    const float cy = store ? 8.6f : 8.0f;
    c.paint(
        [&](float x, float y)
        {
            const float r = std::hypot(x - cx, y - cy);
            const Rgba bezel = hex(0x121110) * cover(r - 3.9f);
            const float t = clamp01(r / 2.9f);
            const Rgba lens = store ? lerp(hex(0xFFD0C0), hex(0xE8412E), std::sqrt(t))
                                    : lerp(hex(0x6A3028), hex(0x3A1A16), t);
            const Rgba glow = store ? hex(0xFF5A3C) * (0.5f * std::exp(-r * r / 14.0f)) : Rgba{};
            return over(lens * cover(r - 2.9f), over(glow, bezel));
        },
        6);
    return c;
}

// A slide switch in a vertical slot; the thumb up or down.
Canvas slide_switch(bool up)
{
    Canvas c(24, 22);
    const Box slot{8.5f, 1.0f, 15.5f, 21.0f, 3.0f};
    c.paint(
        [&](float x, float y)
        {
            const float d = rounded_box(x, y, slot.x1, slot.y1, slot.x2, slot.y2, slot.radius);
            // Dark inside, the lower lip catching light.
            const float lip = cover(std::abs(d) - 0.5f) * smoothstep(11.0f, 21.0f, y);
            return over(hex(0x6A6157) * (0.6f * lip), hex(0x0D0C0B) * cover(d));
        },
        4);
    const float top = up ? 1.8f : 10.2f;
    Canvas shadow(24, 22);
    shadow.paint(
        [&](float x, float y) {
            return hex(0x000000) *
                   cover(rounded_box(x, y - 1.2f, 6.0f, top, 18.0f, top + 10.0f, 2.2f));
        });
    c.draw(shadow.blurred(0.9f), 0, 0, 0.8f);
    c.paint(
        [&](float x, float y)
        {
            const float d = rounded_box(x, y, 6.0f, top, 18.0f, top + 10.0f, 2.2f);
            const float coverage = cover(d);
            if (coverage <= 0.0f)
            {
                return Rgba{};
            }
            auto height = [&](float hx, float hy)
            {
                const float inside = -rounded_box(hx, hy, 6.0f, top, 18.0f, top + 10.0f, 2.2f);
                const float t = std::clamp(inside / 1.6f, 0.0f, 1.0f);
                // Three grip ridges across the thumb.
                const float ridge = 0.35f *
                                    std::max(0.0f, std::cos((hy - top - 5.0f) * 2.0f *
                                                            std::numbers::pi_v<float> / 2.6f)) *
                                    smoothstep(0.4f, 1.0f, t) *
                                    (std::abs(hy - top - 5.0f) < 3.9f ? 1.0f : 0.0f);
                return 1.5f * std::sqrt(t * (2.0f - t)) + ridge;
            };
            const Vec3 n = normal_of(height, x, y, 0.15f);
            Rgba colour = shade(hex(0xB9B1A4), 0.45f + 0.65f * diffuse(n));
            colour = colour + hex(0xFFFFFF) * (0.45f * specular(n, 24.0f));
            colour.a = 1.0f;
            return colour * coverage;
        },
        4);
    return c;
}

// A fader cap seen from above, w x h, with a line marking its middle.
Canvas fader_handle(int w, int h)
{
    Canvas c(w, h);
    const float x1 = 0.8f;
    const float x2 = static_cast<float>(w) - 0.8f;
    const float y1 = 0.6f;
    const float y2 = static_cast<float>(h) - 1.4f;
    Canvas shadow(w, h);
    shadow.paint([&](float x, float y)
                 { return hex(0x000000) * cover(rounded_box(x, y - 1.0f, x1, y1, x2, y2, 1.8f)); });
    c.draw(shadow.blurred(0.8f), 0, 0, 0.85f);
    const float mid = static_cast<float>(w) * 0.5f;
    c.paint(
        [&](float x, float y)
        {
            const float d = rounded_box(x, y, x1, y1, x2, y2, 1.8f);
            const float coverage = cover(d);
            if (coverage <= 0.0f)
            {
                return Rgba{};
            }
            auto height = [&](float hx, float hy)
            {
                const float inside = -rounded_box(hx, hy, x1, y1, x2, y2, 1.8f);
                const float t = std::clamp(inside / 1.5f, 0.0f, 1.0f);
                // The top dips towards the middle, where the finger rests.
                const float cyl = 0.5f * std::cos((hy - (y1 + y2) * 0.5f) / (y2 - y1) *
                                                  std::numbers::pi_v<float>);
                return 1.5f * std::sqrt(t * (2.0f - t)) - cyl * t;
            };
            const Vec3 n = normal_of(height, x, y, 0.15f);
            Rgba colour = shade(hex(0x3A3631), 0.75f + 0.6f * diffuse(n));
            colour = colour + hex(0xFFF2DE) * (0.35f * specular(n, 26.0f));
            const float line = cover(std::abs(x - mid) - 0.55f) *
                               (1.0f - smoothstep(y2 - 3.5f, y2 - 2.0f, y)) *
                               smoothstep(y1 + 2.0f, y1 + 3.5f, y);
            colour = over(hex(colours::print) * line, colour);
            colour.a = 1.0f;
            return colour * coverage;
        },
        4);
    return c;
}

// A small cap of the spin with an arrow.
Canvas spin_arrow(bool up, bool pressed)
{
    Canvas c(19, 12);
    keycap(c, {1.0f, 0.5f, 18.0f, 10.6f, 2.2f}, pressed);
    const float cx = 9.5f;
    const float cy = pressed ? 6.1f : 5.5f;
    Canvas arrow(19, 12);
    arrow.paint(
        [&](float x, float y)
        {
            // A triangle, apex 2.2 pixels from the middle, base 1.8 the other way.
            const float u = (y - cy) * (up ? 1.0f : -1.0f);
            const float d =
                std::max({-2.2f - u, u - 1.8f, (std::abs(x - cx) - (u + 2.2f) * 0.875f) * 0.75f});
            return hex(pressed ? colours::amber_hot : colours::print) * cover(d * 1.3f);
        },
        6);
    if (pressed)
    {
        c.draw(arrow.silhouette(hex(colours::amber), 1.0f), 0, 0, 0.9f);
    }
    c.draw(arrow, 0, 0);
    return c;
}

// The spin's handle: a ribbed wheel seen edge-on in a dark slot, turning under the finger.
Canvas spin_handle(bool pressed)
{
    Canvas c(27, 28);
    const Box slot{2.0f, 0.5f, 25.0f, 27.5f, 3.0f};
    c.paint(
        [&](float x, float y)
        {
            const float d = rounded_box(x, y, slot.x1, slot.y1, slot.x2, slot.y2, slot.radius);
            const Rgba lip =
                hex(0x6A6157) * (0.55f * cover(std::abs(d) - 0.5f) * smoothstep(8.0f, 27.0f, y));
            return over(lip, hex(0x0A0908) * cover(d));
        },
        4);
    const float cy = 14.0f;
    const float half = 12.0f;
    c.paint(
        [&](float x, float y)
        {
            const float d = rounded_box(x, y, 5.0f, cy - half, 22.0f, cy + half, 1.0f);
            const float coverage = cover(d);
            if (coverage <= 0.0f)
            {
                return Rgba{};
            }
            // A cylinder whose axis runs across: its face tilts away above and below, and its
            // ribs crowd together towards the edges.
            const float v = std::clamp((y - cy) / (half + 0.5f), -0.98f, 0.98f);
            const float angle = std::asin(v);
            const float ridge = std::cos(angle * 9.0f * 2.0f);
            const Vec3 n =
                normalise({0.0f, v + 0.45f * ridge * std::cos(angle), std::sqrt(1.0f - v * v)});
            const Rgba metal = hex(pressed ? 0x6E5E48 : 0x5C5650);
            Rgba colour = shade(metal, 0.25f + 0.95f * diffuse(n));
            colour = colour + hex(0xFFF2DE) * (0.45f * specular(n, 14.0f));
            // The slot's shadow on the wheel at its ends.
            colour = shade(colour, 0.55f + 0.45f * smoothstep(5.0f, 8.0f, x) *
                                               (1.0f - smoothstep(19.0f, 22.0f, x)));
            if (pressed)
            {
                colour = colour + hex(colours::amber) * (0.12f * (1.0f - std::abs(v)));
            }
            colour.a = 1.0f;
            return colour * coverage;
        },
        4);
    return c;
}

} // namespace

std::map<std::string, Canvas> draw_controls(Fonts& fonts)
{
    std::map<std::string, Canvas> out;
    for (int i = 0; i < 8; ++i)
    {
        const std::string base = "pb_" + std::to_string(31 + i) + "_";
        out[base + "0"] = number_button(fonts, i + 1, false);
        out[base + "1"] = number_button(fonts, i + 1, true);
    }
    out["pb_39_0"] = bank_button(fonts, "LOAD", false);
    out["pb_39_1"] = bank_button(fonts, "LOAD", true);
    out["pb_40_0"] = bank_button(fonts, "SAVE", false);
    out["pb_40_1"] = bank_button(fonts, "SAVE", true);
    out["pb_55_0"] = setup_button(false);
    out["pb_55_1"] = setup_button(true);
    out["ff_10_0"] = memory_switch(false);
    out["ff_10_1"] = memory_switch(true);
    // The editor shows _0 for value 1 (Post, notes) and _1 for value 0 (Pre, hertz).
    out["ff_11_0"] = slide_switch(true);
    out["ff_11_1"] = slide_switch(false);
    out["fd_03"] = fader_handle(11, 27);
    out["fd_07"] = fader_handle(7, 19);
    out["sp_03_up_0"] = spin_arrow(true, false);
    out["sp_03_up_1"] = spin_arrow(true, true);
    out["sp_03_dwn_0"] = spin_arrow(false, false);
    out["sp_03_dwn_1"] = spin_arrow(false, true);
    out["sp_03_hnd_0"] = spin_handle(false);
    out["sp_03_hnd_1"] = spin_handle(true);
    out["tl_01_0"] = mark_light(colours::amber);
    out["tl_01_1"] = mark_light(0x6FE08A);
    return out;
}

} // namespace artwork
