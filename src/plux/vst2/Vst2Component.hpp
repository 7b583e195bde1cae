#pragma once

namespace plux
{

class Vst2WinPlugin;

// The base of the components that need the plug-in object itself (the host MIDI components).
class Vst2Component
{
public:
    virtual ~Vst2Component() = default;

    void set_plugin(Vst2WinPlugin* plugin)
    {
        plugin_ = plugin;
        on_plugin_set();
    }
    Vst2WinPlugin* get_plugin() const { return plugin_; }

protected:
    virtual void on_plugin_set() {}

private:
    Vst2WinPlugin* plugin_ = nullptr;
};

} // namespace plux
