#include "ravik/NativeWindow.hpp"

namespace ravik
{

std::unique_ptr<WindowInterface> create_native_window(const Point& /*size*/)
{
    return nullptr;
}

} // namespace ravik
