#include "plux/prog/ReplaceFile.hpp"

#include <windows.h>

namespace plux
{

bool replace_file(const std::string& src, const std::string& dst)
{
    return ::MoveFileExA(src.c_str(), dst.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

} // namespace plux
