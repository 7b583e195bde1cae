#pragma once

#include <memory>

#include "ravik/WindowInterface.hpp"

namespace ravik
{

// The toolkit's window of the system the plug-in runs on, closed, of that size; null where the
// system offers none.
std::unique_ptr<WindowInterface> create_native_window(const Point& size);

} // namespace ravik
