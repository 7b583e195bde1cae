#pragma once

#include <memory>
#include <string>

#include "plux/BkgContainer.hpp"
#include "plux/BkgInterface.hpp"
#include "plux/BkgThread.hpp"
#include "plux/midi/MciMidiDevSelComp.hpp"
#include "plux/vst2/Vst2Plugin.hpp"

namespace plux
{

class Vst2WinEditor;

// The plug-in object that the entry builds: Vst2Plugin with the editor object, the background
// thread that closes gestures every 50 ms, host detection, and the floating-point rounding and
// denormal guards around audio processing.
class Vst2WinPlugin final : public Vst2Plugin
{
public:
    // Sends end-edit for the gestures whose source let go (see Vst2Plugin::run_gestures).
    class BkgGesture final : public BkgInterface
    {
    public:
        void run() override;
        void* get_context() const override { return context_; }
        void set_context(void* context) override { context_ = context; }
        void set_plugin(Vst2Plugin* plugin) { plugin_ = plugin; }

    private:
        void* context_ = nullptr;
        Vst2Plugin* plugin_ = nullptr;
    };

    Vst2WinPlugin(vst2::HostCallback host, Vst2PluginParts parts, const BankManager& bank,
                  vst2::VstInt32 unique_id);
    ~Vst2WinPlugin() override;

    void process(float** inputs, float** outputs, vst2::VstInt32 frames) noexcept override;
    void processReplacing(float** inputs, float** outputs, vst2::VstInt32 frames) noexcept override;

    // The folder of the plug-in library, without a trailing separator.
    std::string get_plugin_dir();
    // The plug-in folder followed by the settings sub-path.
    std::string get_settings_folder();
    // Attach and detach the DSP side's own background task: 0, or -1 when there is none or it
    // is already attached.
    int start_dsp_task();
    void stop_dsp_task();
    bool runs_gestures_in_background() const { return gestures_in_background(); }
    // Runs of the background tasks so far: what waits for the background thread counts.
    int get_nbr_bkg_runs() const noexcept { return bkg_thread_->get_nbr_runs(); }

protected:
    void gui_lost() override;
    void tempo_changed(float bpm) noexcept override;

private:
    Vst2WinEditor* editor_ = nullptr; // owned through the effect's editor slot
    std::unique_ptr<MciMidiDevSelComp> mci_comp_;
    std::unique_ptr<BkgThread> bkg_thread_ = BkgThread::create();
    BkgContainer container_;
    BkgGesture gesture_;
    BkgInterface* dsp_task_ = nullptr;
    bool dsp_task_attached_ = false;
};

} // namespace plux
