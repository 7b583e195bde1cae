#pragma once

#include "ravik/BoundingBoxDefaultChecker.hpp"
#include "ravik/Geometry.hpp"
#include "ravik/PicDataInterface.hpp"
#include "ravik/RenderingBufferInterface.hpp"

namespace ravik
{

// Places picture data around an origin: the bounding box is the picture's rectangle in
// coordinates where the origin is (0, 0). The data is shared and not owned, so copies of a
// Picture draw the same pixels. Without data nothing is drawn. Editor thread.
class Picture : public BoundingBoxDefaultChecker
{
public:
    Picture() = default;
    explicit Picture(const PicDataInterface* data) { set_pic_data(data); }

    // The box becomes (0, 0, width, height) and the crop the whole picture.
    void set_pic_data(const PicDataInterface* data);
    const PicDataInterface* get_pic_data() const { return data_; }

    // Picture pixel origin is placed at (0, 0).
    void set_origin(const Point& origin);
    Point get_origin() const;
    // Limited to the picture; a crop turned inside out becomes empty.
    void set_crop(const Rect& crop);
    const Rect& get_crop() const { return crop_; }

    // In the box and inside the crop.
    bool is_inside(const Point& p) const;

    // area: the rectangle of origin-relative coordinates that the buffer covers.
    int draw(const Rect& area, RenderingBufferInterface& buffer) const;
    int draw_multiply(const Rect& area, RenderingBufferInterface& buffer) const;
    int draw_add(const Rect& area, RenderingBufferInterface& buffer) const;

    // (x, y): the origin-relative point that the buffer's top-left pixel shows; clip: buffer
    // pixels. A position within 1e-9 (relative) of whole pixels draws as a whole one.
    int draw_at(double x, double y, const Rect& clip, RenderingBufferInterface& buffer) const;
    int draw_add_at(double x, double y, const Rect& clip, RenderingBufferInterface& buffer) const;
    int draw_multiply_at(double x, double y, const Rect& clip,
                         RenderingBufferInterface& buffer) const;
    // opacity 0 to 1; opaque pictures ignore it.
    int draw_at_faded(double x, double y, const Rect& clip, RenderingBufferInterface& buffer,
                      float opacity) const;
    // Turned by angle radians around the origin; only pictures with alpha draw anything.
    int draw_rotated(double x, double y, const Rect& clip, double angle,
                     RenderingBufferInterface& buffer) const;
    int draw_rotated_faded(double x, double y, const Rect& clip, double angle,
                           RenderingBufferInterface& buffer, float opacity) const;

private:
    enum class Op
    {
        copy,
        multiply,
        add,
    };

    int draw_area(Op op, const Rect& area, RenderingBufferInterface& buffer) const;
    int draw_float(Op op, double x, double y, const Rect& clip,
                   RenderingBufferInterface& buffer) const;

    const PicDataInterface* data_ = nullptr;
    Rect crop_;
};

} // namespace ravik
