#pragma once

#include <atomic>
#include <memory>

#include "plux/vst2/AEffEditor.hpp"

namespace ravik
{
class WindowInterface;
}

namespace plux
{

class GuiInterface;
class HostGuiInterface;

// The editor as the host sees it: owns the toolkit's window (made at the start with 100 x 100
// pixels; the editor side sizes it) and answers the host's editor requests by asking the editor
// side. Host's user-interface thread, except the tempo, which the audio thread writes.
class Vst2WinEditor final : public vst2::AEffEditor
{
public:
    static constexpr int initial_size = 100;

    Vst2WinEditor(vst2::AudioEffect* effect, GuiInterface& gui, HostGuiInterface& host);
    ~Vst2WinEditor() override;
    Vst2WinEditor(const Vst2WinEditor&) = delete;
    Vst2WinEditor& operator=(const Vst2WinEditor&) = delete;

    bool getRect(vst2::ERect** rect) override;
    bool open(void* parent) override;
    void close() override;
    void idle() override;

    void set_tempo(double bpm) { tempo_.store(bpm, std::memory_order_relaxed); }
    double get_tempo() const { return tempo_.load(std::memory_order_relaxed); }

private:
    GuiInterface& gui_;
    HostGuiInterface& host_;
    std::unique_ptr<ravik::WindowInterface> window_;
    vst2::ERect rect_{};
    std::atomic<double> tempo_{0.0};
};

} // namespace plux
