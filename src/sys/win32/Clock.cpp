#include "sys/Clock.hpp"

#include <windows.h>

#include <mmsystem.h>

namespace sys
{

double get_time_s()
{
    return static_cast<double>(::timeGetTime()) * 0.001;
}

} // namespace sys
