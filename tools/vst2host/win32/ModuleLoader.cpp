#include "vst2host/ModuleLoader.hpp"

#include <windows.h>

#include "vst2host/WindowsPath.hpp"

namespace vst2host
{

ModuleLoader::~ModuleLoader()
{
    close();
}

bool ModuleLoader::open(const std::string& path)
{
    close();
    error.clear();
    // No "cannot find DLL" dialog boxes: a test host runs unattended.
    DWORD old_mode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &old_mode);
    const std::string native = to_windows_path(path);
    HMODULE module = LoadLibraryA(native.c_str());
    const DWORD code = GetLastError();
    SetThreadErrorMode(old_mode, nullptr);
    if (module == nullptr)
    {
        error = "cannot load " + path + ": Windows error " + std::to_string(code);
        return false;
    }
    handle = module;
    return true;
}

void ModuleLoader::close() noexcept
{
    if (handle != nullptr)
        FreeLibrary(static_cast<HMODULE>(handle));
    handle = nullptr;
}

ModuleLoader::Proc ModuleLoader::find_proc(const char* name) const
{
    if (handle == nullptr)
        return nullptr;
    return reinterpret_cast<Proc>(GetProcAddress(static_cast<HMODULE>(handle), name));
}

} // namespace vst2host
