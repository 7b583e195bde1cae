#pragma once

#include <X11/Xlib.h>
#include <vector>

#include "ravik/MenuDrawn.hpp"

namespace ravik
{

class ConnectionX11;

// The pop-up menus of the X11 window: one override-redirect window a panel, on the window's own
// connection. While the menu is shown it holds the pointer and the keyboard, so that a press
// anywhere else closes it and Escape reaches it. Editor thread only.
class MenuX11 final : public MenuDrawn
{
public:
    explicit MenuX11(ConnectionX11& connection)
        : connection_(connection)
    {
    }

    // The window of an open panel.
    Window get_native_window(int level) const;
    bool handles(Window window) const;
    void handle(XEvent& event);

protected:
    Point get_cursor_native() const override;
    Rect get_screen_native() const override;
    int open_native() override;
    void update_native() override;
    void close_native() override;

private:
    struct Panel
    {
        Window window = 0;
        Rect rect;
    };

    void paint(std::size_t level);

    ConnectionX11& connection_;
    std::vector<Panel> panels_;
};

} // namespace ravik
