#pragma once

#include <X11/Xlib.h>

#include "ravik/Geometry.hpp"
#include "ravik/RenderingBufferInterface.hpp"

namespace ravik
{

// A connection of the plug-in's own to the X server, apart from the host's. The errors the
// server reports on it are counted and otherwise ignored: the host may destroy its window, and
// with it the plug-in's, at any moment, and Xlib's default answer to an error ends the process.
// Errors on the host's connections still reach the handler that was in place. Surfaces are
// windows and images of one 24-bit true-colour visual whose pixels read 0x00RRGGBB, as the
// toolkit's buffers hold them, so that pixels go to the server unconverted. A connection is
// used by one thread at a time.
class ConnectionX11
{
public:
    ConnectionX11() = default;
    ~ConnectionX11() { close(); }
    ConnectionX11(const ConnectionX11&) = delete;
    ConnectionX11& operator=(const ConnectionX11&) = delete;

    // The display that DISPLAY names; with_surfaces, also the visual, its colormap and a graphics
    // context. false when any is missing (nothing is left open).
    bool open(bool with_surfaces);
    void close();
    Display* get_display() const { return display_; }

    // The errors reported on this connection so far.
    unsigned long get_nbr_errors() const;
    // Waits for the server to have carried out every request sent so far (one round trip): true
    // when none of them failed.
    bool sync();

    Visual* get_visual() const { return visual_; }
    GC get_gc() const { return gc_; }
    // An input-output window of the visual, not yet mapped. An override-redirect window is one
    // that window managers leave alone (pop-ups).
    Window create_window(Window parent, const Rect& rect, long event_mask, bool override_redirect);
    // Copies a whole buffer to drawable, its top-left at at.
    void put_pixels(Drawable drawable, RenderingBufferInterface& pixels, const Point& at);
    void fill(Drawable drawable, const Rect& rect, Pixel pixel);
    // A cursor without a visible pixel.
    Cursor create_invisible_cursor(Drawable drawable);
    // Where the pointer is on the screen.
    Point get_pointer() const { return query_pointer(display_); }

    static Point query_pointer(Display* display);

private:
    bool open_surfaces();

    Display* display_ = nullptr;
    Visual* visual_ = nullptr;
    Colormap colormap_ = 0;
    GC gc_ = nullptr;
};

} // namespace ravik
