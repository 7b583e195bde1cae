#include "ravik/widget/Layers.hpp"

namespace ravik
{

namespace
{

Rect tile_clip(const Redraw& redraw)
{
    return {0, 0, redraw.area.x2 - redraw.area.x1, redraw.area.y2 - redraw.area.y1};
}

} // namespace

void draw_layer(const Picture& picture, Redraw& redraw, double x, double y, float opacity)
{
    if (opacity < min_opacity)
    {
        return;
    }
    const double sx = redraw.area.x1 - x;
    const double sy = redraw.area.y1 - y;
    if (opacity >= full_opacity)
    {
        picture.draw_at(sx, sy, tile_clip(redraw), redraw.buffer);
    }
    else
    {
        picture.draw_at_faded(sx, sy, tile_clip(redraw), redraw.buffer, opacity);
    }
}

void draw_layer_rotated(const Picture& picture, Redraw& redraw, double x, double y, double angle,
                        float opacity)
{
    if (opacity < min_opacity)
    {
        return;
    }
    const double sx = redraw.area.x1 - x;
    const double sy = redraw.area.y1 - y;
    if (opacity >= full_opacity)
    {
        picture.draw_rotated(sx, sy, tile_clip(redraw), angle, redraw.buffer);
    }
    else
    {
        picture.draw_rotated_faded(sx, sy, tile_clip(redraw), angle, redraw.buffer, opacity);
    }
}

} // namespace ravik
