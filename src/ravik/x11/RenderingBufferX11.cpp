#include "ravik/x11/RenderingBufferX11.hpp"

#include <X11/Xutil.h>
#include <algorithm>
#include <sys/ipc.h>
#include <sys/shm.h>

#include "ravik/x11/ConnectionX11.hpp"

namespace ravik
{

RenderingBufferX11::RenderingBufferX11(int width, int height)
    : RenderingBufferInterface(width, height)
{
}

RenderingBufferX11::~RenderingBufferX11()
{
    detach();
}

void RenderingBufferX11::attach(ConnectionX11& connection, Drawable drawable, bool allow_shared)
{
    detach();
    connection_ = &connection;
    drawable_ = drawable;
    if (allow_shared && attach_shared())
    {
        shared_ = true;
        return;
    }
    memory_.assign(static_cast<std::size_t>(get_width()) * static_cast<std::size_t>(get_height()),
                   0);
    image_ =
        XCreateImage(connection.get_display(), connection.get_visual(), 24, ZPixmap, 0,
                     reinterpret_cast<char*>(memory_.data()), static_cast<unsigned>(get_width()),
                     static_cast<unsigned>(get_height()), 32, get_width() * 4);
    if (image_ != nullptr)
    {
        image_->byte_order = LSBFirst;
    }
}

bool RenderingBufferX11::attach_shared()
{
    Display* display = connection_->get_display();
    // The server reads the segment as it is: only a server of the buffers' byte order will do.
    if (XShmQueryExtension(display) == False || ImageByteOrder(display) != LSBFirst)
    {
        return false;
    }
    image_ =
        XShmCreateImage(display, connection_->get_visual(), 24, ZPixmap, nullptr, &segment_,
                        static_cast<unsigned>(get_width()), static_cast<unsigned>(get_height()));
    if (image_ == nullptr)
    {
        return false;
    }
    bool attached = false;
    if (image_->bits_per_pixel == 32 && image_->bytes_per_line == get_width() * 4)
    {
        segment_.shmid =
            shmget(IPC_PRIVATE, static_cast<std::size_t>(image_->bytes_per_line) * get_height(),
                   IPC_CREAT | 0600);
    }
    else
    {
        segment_.shmid = -1;
    }
    if (segment_.shmid >= 0)
    {
        void* address = shmat(segment_.shmid, nullptr, 0);
        if (address != reinterpret_cast<void*>(-1))
        {
            segment_.shmaddr = image_->data = static_cast<char*>(address);
            segment_.readOnly = False;
            // A server on another machine, or one that may not see this process's segments,
            // refuses the attachment: the error shows in the round trip.
            attached = XShmAttach(display, &segment_) != False && connection_->sync();
            if (!attached)
            {
                shmdt(address);
            }
        }
        // Freed once both sides have let go of it.
        shmctl(segment_.shmid, IPC_RMID, nullptr);
    }
    if (!attached)
    {
        image_->data = nullptr;
        XDestroyImage(image_);
        image_ = nullptr;
    }
    return attached;
}

void RenderingBufferX11::detach()
{
    if (image_ != nullptr)
    {
        if (shared_)
        {
            if (connection_->get_display() != nullptr)
            {
                XShmDetach(connection_->get_display(), &segment_);
            }
            shmdt(segment_.shmaddr);
        }
        image_->data = nullptr;
        XDestroyImage(image_);
        image_ = nullptr;
    }
    shared_ = false;
    memory_.clear();
    connection_ = nullptr;
    drawable_ = 0;
}

Pixel* RenderingBufferX11::get_pixels()
{
    return image_ != nullptr ? reinterpret_cast<Pixel*>(image_->data) : nullptr;
}

void RenderingBufferX11::blit(const Point& dest, const Point& size)
{
    const int width = std::min(size.x, get_width());
    const int height = std::min(size.y, get_height());
    if (image_ == nullptr || width <= 0 || height <= 0)
    {
        return;
    }
    Display* display = connection_->get_display();
    if (shared_)
    {
        XShmPutImage(display, drawable_, connection_->get_gc(), image_, 0, 0, dest.x, dest.y,
                     static_cast<unsigned>(width), static_cast<unsigned>(height), False);
        // The server reads the segment when it carries the request out, and the next tile is
        // drawn into the same memory: wait for that (one round trip, no event).
        XSync(display, False);
    }
    else
    {
        XPutImage(display, drawable_, connection_->get_gc(), image_, 0, 0, dest.x, dest.y,
                  static_cast<unsigned>(width), static_cast<unsigned>(height));
    }
}

} // namespace ravik
