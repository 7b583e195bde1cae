#pragma once

#include <string>

namespace vst2host
{

// A dynamic library opened the way a host opens a plug-in: dlopen on POSIX systems, LoadLibraryA
// on Windows. The library stays loaded until close() or destruction.
class ModuleLoader
{
public:
    // Any exported function: callers cast it to the type they know it has.
    using Proc = void (*)();

    ModuleLoader() = default;
    ~ModuleLoader();
    ModuleLoader(const ModuleLoader&) = delete;
    ModuleLoader& operator=(const ModuleLoader&) = delete;

    // Closes what was open before. On failure get_error() tells why, with the path.
    bool open(const std::string& path);
    void close() noexcept;
    bool is_open() const noexcept { return handle != nullptr; }

    // Null when the library is not open or does not export the name.
    Proc find_proc(const char* name) const;

    const std::string& get_error() const noexcept { return error; }

private:
    void* handle = nullptr;
    std::string error;
};

} // namespace vst2host
