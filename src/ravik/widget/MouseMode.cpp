#include "ravik/widget/MouseMode.hpp"

#include <cstdio>
#include <exception>
#include <mutex>

#include "sys/PersistentKeyList.hpp"

namespace ravik
{

namespace
{

struct State
{
    std::mutex mutex;
    std::string path = "Tarvex";
    bool loaded = false;
    bool compatible = false;
};

State& state()
{
    static State s;
    return s;
}

// A missing or unreadable value is enhanced mode.
bool load(const std::string& path)
{
    try
    {
        const sys::PersistentKeyList key(path, true);
        std::string text;
        int value = 0;
        return key.get_string(MouseMode::value_name, text) == 0 &&
               std::sscanf(text.c_str(), "%d", &value) == 1 && value == 1;
    }
    catch (const std::exception&)
    {
        return false;
    }
}

} // namespace

bool MouseMode::is_compatible()
{
    State& s = state();
    const std::lock_guard lock(s.mutex);
    if (!s.loaded)
    {
        s.compatible = load(s.path);
        s.loaded = true;
    }
    return s.compatible;
}

int MouseMode::set_compatible(bool compatible)
{
    State& s = state();
    const std::lock_guard lock(s.mutex);
    s.compatible = compatible;
    s.loaded = true;
    try
    {
        sys::PersistentKeyList key(s.path, true);
        return key.set_string(value_name, compatible ? "1" : "0");
    }
    catch (const std::exception&)
    {
        return -1;
    }
}

void MouseMode::set_key_path(const std::string& path)
{
    State& s = state();
    const std::lock_guard lock(s.mutex);
    s.path = path;
    s.loaded = false;
}

} // namespace ravik
