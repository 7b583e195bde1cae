#include "vst2host/ModuleLoader.hpp"

#include <dlfcn.h>

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
    dlerror();
    // RTLD_LOCAL keeps the plug-in's symbols from resolving another plug-in's.
    handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
    {
        const char* reason = dlerror();
        error = "cannot load " + path + ": " + (reason != nullptr ? reason : "unknown reason");
        return false;
    }
    return true;
}

void ModuleLoader::close() noexcept
{
    if (handle != nullptr)
        dlclose(handle);
    handle = nullptr;
}

ModuleLoader::Proc ModuleLoader::find_proc(const char* name) const
{
    if (handle == nullptr)
        return nullptr;
    return reinterpret_cast<Proc>(dlsym(handle, name));
}

} // namespace vst2host
