#include "ravik/widget/HighlightMixin.hpp"

#include <stdexcept>

#include "ravik/ControlInterface.hpp"
#include "ravik/widget/Layers.hpp"

namespace ravik
{

namespace
{

std::size_t checked(int index)
{
    if (index < 0 || index >= ControlInterface::nbr_marks)
    {
        throw std::out_of_range("ravik::HighlightMixin : Index out of range.");
    }
    return static_cast<std::size_t>(index);
}

} // namespace

void HighlightMixin::set_highlight_picture(int index, const Picture& picture)
{
    pictures_[checked(index)] = picture;
    mask_ |= 1u << index;
}

void HighlightMixin::clear_highlight_picture(int index)
{
    pictures_[checked(index)] = Picture();
    mask_ &= ~(1u << index);
}

bool HighlightMixin::has_highlight_picture(int index) const
{
    return (mask_ >> checked(index) & 1u) != 0;
}

Picture& HighlightMixin::use_highlight_picture(int index)
{
    return pictures_[checked(index)];
}

const Picture& HighlightMixin::use_highlight_picture(int index) const
{
    return pictures_[checked(index)];
}

void HighlightMixin::draw_highlights(const ControlInterface& control, Redraw& redraw, double x,
                                     double y, float opacity) const
{
    for (int i = 0; i < ControlInterface::nbr_marks; ++i)
    {
        if (control.get_mark(i) && has_highlight_picture(i))
        {
            draw_layer(pictures_[static_cast<std::size_t>(i)], redraw, x, y, opacity);
        }
    }
}

} // namespace ravik
