#pragma once

#include <cmath>
#include <cstdint>

// Light, surface normals and noise for the artwork. Every picture is lit by the same key light
// from the upper left, so knobs, buttons and the panel read as one object.
namespace artwork
{

struct Vec3
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

inline Vec3 normalise(const Vec3& v)
{
    const float n = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {v.x / n, v.y / n, v.z / n};
}

inline float dot(const Vec3& a, const Vec3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// Towards the light; screen coordinates, y down, z towards the viewer.
inline const Vec3 key_light = normalise({-0.42f, -0.62f, 0.66f});
// Halfway between the light and the viewer.
inline const Vec3 key_half = normalise({key_light.x, key_light.y, key_light.z + 1.0f});
// The light's direction on screen as an angle anticlockwise from +x, radians.
inline const float key_angle = std::atan2(-key_light.y, key_light.x);

inline float diffuse(const Vec3& n)
{
    return std::max(0.0f, dot(n, key_light));
}

inline float specular(const Vec3& n, float shininess)
{
    return std::pow(std::max(0.0f, dot(n, key_half)), shininess);
}

// The normal of a height field height(x, y) (pixels, up towards the viewer) at (x, y).
template <class Height>
Vec3 normal_of(const Height& height, float x, float y, float e = 0.25f)
{
    const float dx = (height(x + e, y) - height(x - e, y)) / (2.0f * e);
    const float dy = (height(x, y + e) - height(x, y - e)) / (2.0f * e);
    return normalise({-dx, -dy, 1.0f});
}

// A repeatable pseudo-random value in [0, 1) for a lattice point.
inline float hash(int x, int y, std::uint32_t seed)
{
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u +
                      static_cast<std::uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<float>(h & 0xFFFFFFu) / 16777216.0f;
}

// Smooth noise in [0, 1) with features one unit apart.
inline float value_noise(float x, float y, std::uint32_t seed)
{
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    float tx = x - fx;
    float ty = y - fy;
    tx = tx * tx * (3.0f - 2.0f * tx);
    ty = ty * ty * (3.0f - 2.0f * ty);
    const float a = hash(ix, iy, seed);
    const float b = hash(ix + 1, iy, seed);
    const float c = hash(ix, iy + 1, seed);
    const float d = hash(ix + 1, iy + 1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

} // namespace artwork
