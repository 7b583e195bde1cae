#include <cmath>
#include <numbers>

#include "Art.hpp"
#include "Shading.hpp"

namespace artwork
{

namespace
{

constexpr float two_pi = 2.0f * std::numbers::pi_v<float>;

// The cap's shape in pixels from its centre.
struct CapShape
{
    float face;     // flat top
    float shoulder; // where the polished chamfer meets the skirt
    float outer;    // the skirt's edge
    int ribs;       // ridges or flutes around the skirt
    bool fluted;    // flutes cut into the outline instead of ridges on the skirt
};

constexpr CapShape large_cap{27.8f, 29.3f, 34.2f, 32, false};
constexpr CapShape small_cap{16.0f, 17.1f, 19.0f, 7, true};

const CapShape& cap_of(const layout::KnobStyle& style)
{
    return style.frames == layout::large_knob.frames ? large_cap : small_cap;
}

// 0 between ribs, 1 on a rib; psi in radians on the cap.
float rib(const CapShape& cap, float psi)
{
    const float c = std::cos(static_cast<float>(cap.ribs) * psi);
    return cap.fluted ? smoothstep(0.1f, 0.95f, c) : smoothstep(-0.45f, 0.45f, c);
}

float outline(const CapShape& cap, float psi)
{
    return cap.fluted ? cap.outer - 1.8f * rib(cap, psi) : cap.outer;
}

// Height above the panel in pixels at distance r and cap angle psi.
float cap_height(const CapShape& cap, float r, float psi)
{
    const float dome = 3.9f + 0.35f * (1.0f - (r * r) / (cap.face * cap.face));
    const float skirt_top = 2.5f - 0.35f * (r - cap.shoulder);
    float h = dome + (skirt_top - dome) * smoothstep(cap.face - 0.2f, cap.shoulder + 0.2f, r);
    const float on_skirt = smoothstep(cap.shoulder - 0.1f, cap.shoulder + 0.7f, r);
    h += (cap.fluted ? -0.9f : 0.6f) * rib(cap, psi) * on_skirt;
    const float edge = outline(cap, psi);
    h -= 2.2f * smoothstep(edge - 1.5f, edge + 0.3f, r);
    return h;
}

} // namespace

Canvas draw_knob_frame(const layout::KnobStyle& style, int index, layout::Pt anchor)
{
    const CapShape& cap = cap_of(style);
    const int size = cap.fluted ? 41 : 73;
    Canvas c(size, size);
    const float cx = static_cast<float>(anchor.x) + style.centre_dx();
    const float cy = static_cast<float>(anchor.y) + style.centre_dy();
    // This frame shows the cap turned anticlockwise by its phase.
    const float phase = two_pi * (style.phase_start + style.period * static_cast<float>(index) /
                                                          static_cast<float>(style.frames));
    const Rgba face_colour = rgb(0.13f, 0.122f, 0.113f);
    const Rgba skirt_colour = rgb(0.215f, 0.204f, 0.19f);
    const Rgba glint = hex(0xFFF4E2);
    c.paint(
        [&](float x, float y)
        {
            const float dx = x - cx;
            const float dy = y - cy;
            const float r = std::hypot(dx, dy);
            const float phi = std::atan2(-dy, dx);
            const float psi = phi - phase;
            const float coverage = cover(r - outline(cap, psi));
            if (coverage <= 0.0f)
            {
                return Rgba{};
            }
            auto height = [&](float hx, float hy)
            {
                const float ex = hx - cx;
                const float ey = hy - cy;
                return cap_height(cap, std::hypot(ex, ey), std::atan2(-ey, ex) - phase);
            };
            const Vec3 n = normal_of(height, x, y, 0.2f);
            const float on_face = 1.0f - smoothstep(cap.face - 0.3f, cap.face + 0.3f, r);
            const float on_chamfer =
                smoothstep(cap.face - 0.4f, cap.face + 0.2f, r) *
                (1.0f - smoothstep(cap.shoulder - 0.2f, cap.shoulder + 0.4f, r));
            // Concentric machining marks, and the bright wedges that brushed rings show
            // towards and away from the light; both stay put when the cap turns.
            const float rings =
                0.04f * std::sin(r * two_pi / 0.8f) + 0.025f * std::sin(r * two_pi / 2.3f + 1.3f);
            const float sheen = 0.09f * std::pow(std::abs(std::cos(phi - key_angle)), 5.0f);
            Rgba albedo = lerp(skirt_colour, face_colour, on_face);
            albedo = shade(albedo, 1.0f + on_face * rings);
            Rgba colour = shade(albedo, 0.3f + 0.95f * diffuse(n));
            const float shine = specular(n, 22.0f) * (0.55f - 0.35f * on_face) +
                                specular(n, 8.0f) * 0.05f + sheen * on_face +
                                specular(n, 10.0f) * 0.55f * on_chamfer;
            colour = colour + glint * shine;
            // Light bounced from the panel brightens the lower edge a little.
            colour = colour + hex(0x4A3C2C) * (0.3f * std::max(0.0f, n.y) * (1.0f - on_face));
            colour.a = 1.0f;
            return colour * coverage;
        },
        4);
    return c;
}

Canvas draw_knob_background(const layout::KnobStyle& style, layout::Pt anchor, int width,
                            int height)
{
    const CapShape& cap = cap_of(style);
    const bool large = !cap.fluted;
    const float cx = static_cast<float>(anchor.x) + style.centre_dx();
    const float cy = static_cast<float>(anchor.y) + style.centre_dy();
    Canvas c(width, height);

    // The cap's shadow on the panel, cast down and to the right by the key light.
    Canvas disc(width, height);
    const float sx = cx + (large ? 1.4f : 0.9f);
    const float sy = cy + (large ? 2.8f : 1.8f);
    disc.paint([&](float x, float y)
               { return hex(0x050403) * cover(std::hypot(x - sx, y - sy) - cap.outer + 0.5f); });
    c.draw(disc.blurred(large ? 2.8f : 1.8f), 0, 0, 0.85f);
    // A dark seat ring just outside the cap.
    c.paint(
        [&](float x, float y)
        {
            const float r = std::hypot(x - cx, y - cy);
            const float ring = cover(std::abs(r - cap.outer - 1.2f) - 0.9f);
            return hex(0x0C0B0A) * (0.45f * ring);
        },
        4);

    // The scale: ticks over the 270 degree sweep, the ends and the middle longer.
    const int ticks = 11;
    const float inner = large ? 38.0f : 21.2f;
    const float outer = large ? 41.5f : 23.2f;
    const float major_inner = large ? 36.8f : 20.4f;
    c.paint(
        [&](float x, float y)
        {
            float best = 1e9f;
            float best_major = 1e9f;
            for (int i = 0; i < ticks; ++i)
            {
                const float t =
                    layout::angle_offset + layout::angle_span * static_cast<float>(i) / (ticks - 1);
                const float a = two_pi * t;
                const float ux = std::cos(a);
                const float uy = -std::sin(a);
                const bool major = i == 0 || i == ticks - 1 || i == ticks / 2;
                const float r0 = major ? major_inner : inner;
                const float d = segment(x, y, cx + ux * r0, cy + uy * r0, cx + ux * outer,
                                        cy + uy * outer, major ? 0.7f : 0.5f);
                (major ? best_major : best) = std::min(major ? best_major : best, d);
            }
            return over(hex(colours::print) * (0.9f * cover(best_major)),
                        hex(colours::print_dim) * (0.75f * cover(best)));
        },
        4);
    return c;
}

Canvas draw_pointer_dot(const layout::KnobStyle& style)
{
    const int size = style.dot_size;
    Canvas c(size, size);
    const float centre = static_cast<float>(size) * 0.5f;
    const float radius = centre - 0.35f;
    c.paint(
        [&](float x, float y)
        {
            const float r = std::hypot(x - centre, y - centre);
            const float t = clamp01(r / radius);
            const Rgba colour = lerp(hex(colours::amber_hot), hex(colours::amber), t * t);
            return colour * cover((r - radius) * 1.6f);
        },
        8);
    return c;
}

Canvas draw_drag_arrows(const layout::KnobStyle& style, layout::Pt anchor, int width, int height)
{
    const bool large = style.frames == layout::large_knob.frames;
    const float cx = static_cast<float>(anchor.x) + style.centre_dx();
    const float cy = static_cast<float>(anchor.y) + style.centre_dy();
    const float near = large ? 9.0f : 5.5f;
    const float far = large ? 14.0f : 9.0f;
    const float half = large ? 5.5f : 3.6f;
    const float thick = large ? 1.0f : 0.8f;
    Canvas shape(width, height);
    shape.paint(
        [&](float x, float y)
        {
            float d = 1e9f;
            for (const float s : {-1.0f, 1.0f})
            {
                const float tip = cy + s * far;
                const float base = cy + s * near;
                d = std::min({d, segment(x, y, cx - half, base, cx, tip, thick),
                              segment(x, y, cx, tip, cx + half, base, thick)});
            }
            return hex(colours::amber_hot) * cover(d);
        },
        4);
    Canvas c(width, height);
    c.draw(shape.silhouette(hex(colours::amber), large ? 1.6f : 1.1f), 0, 0, 0.9f);
    c.draw(shape, 0, 0);
    return c;
}

} // namespace artwork
