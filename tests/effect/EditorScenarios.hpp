#pragma once

// Morvane's editor as a DAW shows it, written once for every platform: the plug-in module loaded
// and playing on an audio thread of its own, its editor opened in a real window of the host and
// worked with the real mouse and keyboard, and what the window shows against the same editor
// built into the test and drawn in memory. Each platform's test program gives a driver of its
// windows for each way its hosts drive an editor.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "effect/gui/VantrelGui.hpp"
#include "plux/EffectFactoryInterface.hpp"
#include "plux/vst2/Vst2Entry.hpp"
#include "plux/vst2/Vst2WinPlugin.hpp"
#include "ravik/WindowOffscreen.hpp"
#include "vst2host/Host.hpp"

namespace test
{

// Morvane built into this process, its editor in a window in memory: what the screen must show.
struct Twin
{
    Twin()
    {
        host.load_entry([](vst2::HostCallback callback)
                        { return plux::vst2_entry(callback, plux::use_effect_factory()); });
        host.start(48000.0f, 256);
        plugin = dynamic_cast<plux::Vst2WinPlugin*>(
            static_cast<vst2::AudioEffect*>(host.use_effect()->object));
        gui = dynamic_cast<VantrelGui*>(plugin->use_gui());
        native = gui->get_window();
        gui->set_window(&window);
    }
    ~Twin() { gui->set_window(native); }

    // Opens the editor on those parameter values and paints it.
    void open(const std::vector<float>& values)
    {
        for (std::size_t i = 0; i < values.size(); ++i)
        {
            // Above every source, whatever holds the parameter.
            plugin->set_param(static_cast<int>(i), values[i], 0xFFFF);
        }
        gui->close();
        gui->open(nullptr);
        window.paint_all();
    }

    vst2host::Host host;
    ravik::WindowOffscreen window{{VantrelGui::width, VantrelGui::height}};
    plux::Vst2WinPlugin* plugin = nullptr;
    VantrelGui* gui = nullptr;
    ravik::WindowInterface* native = nullptr;
};

// The user and the host's window around the module's editor, in the editor window's coordinates.
class EditorDriver
{
public:
    enum class Key
    {
        enter,
        escape,
    };
    enum class Field
    {
        none,
        unfocused,
        focused,
    };

    virtual ~EditorDriver() = default;

    // effEditOpen into the host's window, and the editor's window found in it.
    virtual void open() = 0;
    // Whether the editor's window is gone, waiting for it where the system tells late.
    virtual bool is_gone() = 0;
    // Runs the host's side until done holds: false when it still does not after 10 s.
    virtual bool pump(const std::function<bool()>& done) = 0;

    virtual void move(const ravik::Point& pos) = 0;
    // Presses the left button there; back once the editor has the press.
    virtual void press(const ravik::Point& pos) = 0;
    // Lets the left button go, if it is down.
    virtual void release() = 0;
    virtual void click(const ravik::Point& pos) = 0;
    virtual void type(const std::string& text) = 0;
    virtual void tap(Key key) = 0;

    virtual ravik::Point get_pointer() = 0;
    virtual bool is_cursor_shown() = 0;
    // The system's text field over the editor.
    virtual Field get_field() = 0;
    // What the editor's window shows, 0x00RRGGBB, row after row.
    virtual std::vector<std::uint32_t> read_pixels() = 0;
    // Opens a button's pop-up menu with a click and picks an item with the mouse; the items as
    // the menu showed them, with " (checked)" after a checked one.
    virtual std::vector<std::string> pick(const ravik::Point& button, const std::string& item,
                                          Twin& twin) = 0;
};

// Given by each platform: the ways its hosts drive an editor, and a driver for each, made before
// the module loads.
std::vector<std::string> editor_host_styles();
std::unique_ptr<EditorDriver> make_editor_driver(const std::string& style, vst2host::Host& host);
// The preset bank file, as the module's platform names it.
std::string preset_bank_path();

} // namespace test
