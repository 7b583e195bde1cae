#include "ravik/NativeWindow.hpp"

#include "ravik/win32/WindowWin32.hpp"

namespace ravik
{

std::unique_ptr<WindowInterface> create_native_window(const Point& size)
{
    return std::make_unique<WindowWin32>(size);
}

} // namespace ravik
