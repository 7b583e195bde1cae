#pragma once

#include <vector>

#include "ravik/ControlInterface.hpp"
#include "ravik/widget/HighlightMixin.hpp"

namespace ravik
{

// A control the user turns or slides with the drag engine: knobs and faders.
class PotInterface : public ControlInterface, public HighlightMixin
{
public:
    using ControlInterface::ControlInterface;

    virtual void set_background(const Picture& picture) = 0;
    virtual void clear_background() = 0;
    virtual void set_top_overlay(const Picture& picture) = 0;
    virtual void clear_top_overlay() = 0;
    virtual void set_active_overlay(const Picture& picture) = 0;
    virtual void clear_active_overlay() = 0;
    // Not owned; sorted values that a vertical drag snaps to.
    virtual void set_snap_list(const std::vector<double>* list) = 0;
    virtual void clear_snap_list() = 0;
    // The follower's speed, in hertz.
    virtual void set_speed(double hertz) = 0;
    // Of every layer; a change repaints.
    virtual void set_opacity(float opacity) = 0;
};

} // namespace ravik
