#include "Snapshot.hpp"

#include "Renderer.hpp"
#include "ToolError.hpp"
#include "common/PngFile.hpp"
#include "plux/EffectFactoryInterface.hpp"
#include "plux/GuiInterface.hpp"
#include "plux/vst2/Vst2Entry.hpp"
#include "plux/vst2/Vst2WinPlugin.hpp"
#include "ravik/WindowOffscreen.hpp"

namespace morvane_host
{

namespace
{

vst2::AEffect* morvane_entry(vst2::HostCallback host)
{
    return plux::vst2_entry(host, plux::use_effect_factory());
}

} // namespace

void run_snapshot(const SnapshotOptions& options, std::ostream& out)
{
    RenderPlan plan;
    plan.program = options.program;
    for (const std::string& set : options.sets)
        plan.texts.push_back(parse_parameter_text(set));

    Renderer renderer(&morvane_entry, "Morvane");
    renderer.prepare(48000, plan);
    auto* object = static_cast<vst2::AudioEffect*>(renderer.use_effect().object);
    auto* plugin = dynamic_cast<plux::Vst2WinPlugin*>(object);
    plux::GuiInterface* gui = plugin != nullptr ? plugin->use_gui() : nullptr;
    if (gui == nullptr)
        throw ToolError(ExitCode::plugin_failure, "Morvane: the editor cannot be built");

    int width = 0;
    int height = 0;
    gui->get_size(width, height);
    ravik::WindowOffscreen window({width, height});
    ravik::WindowInterface* native = gui->get_window();
    gui->set_window(&window);
    const bool opened = gui->open(nullptr) == 0;
    if (opened)
    {
        window.paint_all();
        gui->close();
    }
    gui->set_window(native);
    if (!opened)
        throw ToolError(ExitCode::plugin_failure, "Morvane: the editor does not open");
    if (!tools::write_png(options.out, width, height, window.use_screen().get_pixels()))
        throw ToolError(ExitCode::file, options.out + ": cannot write the picture");
    out << "Wrote Morvane's editor (" << width << " x " << height << ") to " << options.out << '\n';
}

} // namespace morvane_host
