#pragma once

#include "ravik/GraphicMessages.hpp"
#include "ravik/Picture.hpp"

namespace ravik
{

// The widgets' layers are drawn with an opacity: nearly transparent layers are skipped, nearly
// opaque ones drawn plainly, the rest faded.
constexpr float min_opacity = 1.0f / 256.0f;
constexpr float full_opacity = 255.0f / 256.0f;

// Draws picture with its origin at (x, y) in window coordinates, clipped to the Redraw's tile.
void draw_layer(const Picture& picture, Redraw& redraw, double x, double y, float opacity = 1.0f);
// The same, turned by angle radians around the picture's origin.
void draw_layer_rotated(const Picture& picture, Redraw& redraw, double x, double y, double angle,
                        float opacity = 1.0f);

} // namespace ravik
