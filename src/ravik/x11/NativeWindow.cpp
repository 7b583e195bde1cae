#include "ravik/NativeWindow.hpp"

#include "ravik/x11/WindowX11.hpp"

namespace ravik
{

std::unique_ptr<WindowInterface> create_native_window(const Point& size)
{
    return std::make_unique<WindowX11>(size);
}

} // namespace ravik
