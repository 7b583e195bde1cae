#pragma once

namespace sys
{

// Seconds of the system's millisecond clock: monotonic, with an arbitrary origin.
double get_time_s();

} // namespace sys
