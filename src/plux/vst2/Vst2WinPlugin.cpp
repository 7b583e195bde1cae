#include "plux/vst2/Vst2WinPlugin.hpp"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "kel/NoCase.hpp"
#include "plux/DspInterface.hpp"
#include "plux/GuiInterface.hpp"
#include "plux/HostGuiInterface.hpp"
#include "plux/vst2/DenormalGuard.hpp"
#include "plux/vst2/RoundingGuard.hpp"
#include "plux/vst2/Vst2PluginDetail.hpp"
#include "plux/vst2/Vst2WinEditor.hpp"
#include "sys/ModulePath.hpp"

namespace plux
{

namespace
{

using kel::equals_no_case;

bool ends_with_no_case(const std::string& text, std::string_view suffix)
{
    return text.size() > suffix.size() &&
           equals_no_case(std::string_view(text).substr(text.size() - suffix.size()), suffix);
}

std::string without_file_name(const std::string& path)
{
    const auto pos = path.find_last_of("\\/");
    return pos == std::string::npos ? std::string() : path.substr(0, pos);
}

} // namespace

void Vst2WinPlugin::BkgGesture::run()
{
    if (plugin_ != nullptr)
    {
        plugin_->run_gestures();
    }
}

Vst2WinPlugin::Vst2WinPlugin(vst2::HostCallback host, Vst2PluginParts parts,
                             const BankManager& bank, vst2::VstInt32 unique_id)
    : Vst2Plugin(host, std::move(parts), bank, unique_id)
{
    // Live sends its gestures' end-edits from its own idle calls, not from other threads.
    char vendor[vst2::kVstMaxVendorStrLen] = {};
    char product[vst2::kVstMaxProductStrLen] = {};
    if (getHostVendorString(vendor) && equals_no_case(vendor, "Ableton") &&
        getHostProductString(product) && equals_no_case(product, "Live"))
    {
        set_gestures_in_background(false);
    }

    GuiInterface* gui = use_gui();
    HostGuiInterface* host_gui = use_host_gui();
    if (gui != nullptr && host_gui != nullptr)
    {
        editor_ = new Vst2WinEditor(this, *gui, *host_gui);
        setEditor(editor_);
    }

    mci_comp_ = std::make_unique<MciMidiDevSelComp>();
    use_midi_dispatcher()->add_component(*mci_comp_);

    dsp_task_ = use_dsp().use_bkg_task();
    container_.set_context(&use_dsp());
    gesture_.set_context(&use_dsp());
    gesture_.set_plugin(this);
    if (gestures_in_background())
    {
        container_.add(gesture_);
    }
    // Frees the MIDI binding tables that the audio thread has let go of.
    container_.add(use_midi_mgr()->use_recycle_task());
    bkg_thread_->set_handler(&container_);
    bkg_thread_->start();
}

Vst2WinPlugin::~Vst2WinPlugin()
{
    bkg_thread_->stop();
    if (editor_ != nullptr)
    {
        if (editor_->isOpen())
        {
            editor_->close();
        }
        setEditor(nullptr);
        delete editor_;
        editor_ = nullptr;
    }
    stop();
    mci_comp_.reset();
}

void Vst2WinPlugin::gui_lost()
{
    if (editor_ != nullptr)
    {
        setEditor(nullptr);
        delete editor_;
        editor_ = nullptr;
    }
}

void Vst2WinPlugin::tempo_changed(float bpm) noexcept
{
    if (editor_ != nullptr)
    {
        editor_->set_tempo(bpm);
    }
}

void Vst2WinPlugin::process(float** /*inputs*/, float** /*outputs*/,
                            vst2::VstInt32 /*frames*/) noexcept
{
    // The accumulating call of the first interface version is not offered.
    RoundingGuard guard;
}

void Vst2WinPlugin::processReplacing(float** inputs, float** outputs,
                                     vst2::VstInt32 frames) noexcept
{
    RoundingGuard guard;
    DenormalGuard denormals;
    Vst2Plugin::processReplacing(inputs, outputs, frames);
}

std::string Vst2WinPlugin::get_plugin_dir()
{
    std::string dir;
    if (const char* answer = getDirectory(); answer != nullptr)
    {
        dir = answer;
        if (ends_with_no_case(dir, ".dll") || ends_with_no_case(dir, ".so"))
        {
            dir = without_file_name(dir);
        }
    }
    else
    {
        dir = without_file_name(sys::get_module_path());
    }
    while (!dir.empty() && (dir.back() == '\\' || dir.back() == '/'))
    {
        dir.pop_back();
    }
    return dir;
}

std::string Vst2WinPlugin::get_settings_folder()
{
    std::string folder = get_plugin_dir();
    std::string sub = get_settings_sub_path();
    if (folder.empty() || sub.empty())
    {
        return folder;
    }
    const char sep = sys::get_path_separator();
    std::replace_if(
        sub.begin(), sub.end(), [](char c) { return c == '\\' || c == '/'; }, sep);
    return folder + sep + sub;
}

int Vst2WinPlugin::start_dsp_task()
{
    if (dsp_task_ == nullptr || dsp_task_attached_)
    {
        return -1;
    }
    dsp_task_->set_context(&use_dsp());
    container_.add(*dsp_task_);
    dsp_task_attached_ = true;
    return 0;
}

void Vst2WinPlugin::stop_dsp_task()
{
    if (dsp_task_attached_)
    {
        container_.remove_last();
        dsp_task_attached_ = false;
    }
}

} // namespace plux
