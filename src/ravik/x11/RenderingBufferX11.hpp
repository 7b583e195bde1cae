#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>
#include <vector>

#include "ravik/RenderingBufferInterface.hpp"

namespace ravik
{

class ConnectionX11;

// The tile buffer of the X11 window: the toolkit draws each tile into it and blit puts it on the
// window. Through a shared memory segment when the server offers MIT-SHM (no copy of the pixels
// through the socket), else as a plain image. Editor thread only.
class RenderingBufferX11 final : public RenderingBufferInterface
{
public:
    RenderingBufferX11(int width, int height);
    ~RenderingBufferX11() override;

    // Puts blits on drawable from now on; through shared memory when allowed and the server
    // takes it. Null pixels until then.
    void attach(ConnectionX11& connection, Drawable drawable, bool allow_shared);
    void detach();
    bool is_shared() const { return shared_; }

    Pixel* get_pixels() override;
    void blit(const Point& dest, const Point& size) override;

private:
    bool attach_shared();

    ConnectionX11* connection_ = nullptr;
    Drawable drawable_ = 0;
    XImage* image_ = nullptr;
    XShmSegmentInfo segment_{};
    bool shared_ = false;
    std::vector<Pixel> memory_;
};

} // namespace ravik
