#pragma once

#include <array>

#include "ravik/Picture.hpp"

namespace ravik
{

class ControlInterface;
class Redraw;

// Pictures drawn over a widget while one of its four marks is set.
class HighlightInterface
{
public:
    virtual ~HighlightInterface() = default;

    virtual void set_highlight_picture(int index, const Picture& picture) = 0;
    virtual void clear_highlight_picture(int index) = 0;
    virtual bool has_highlight_picture(int index) const = 0;
    virtual Picture& use_highlight_picture(int index) = 0;
    virtual const Picture& use_highlight_picture(int index) const = 0;
};

class HighlightMixin : public HighlightInterface
{
public:
    void set_highlight_picture(int index, const Picture& picture) override;
    void clear_highlight_picture(int index) override;
    bool has_highlight_picture(int index) const override;
    Picture& use_highlight_picture(int index) override;
    const Picture& use_highlight_picture(int index) const override;

    // Draws the picture of every set mark of control at (x, y), window coordinates.
    void draw_highlights(const ControlInterface& control, Redraw& redraw, double x, double y,
                         float opacity = 1.0f) const;

private:
    std::array<Picture, 4> pictures_;
    unsigned mask_ = 0;
};

} // namespace ravik
