#pragma once

#include <atomic>

#include "plux/vst2/AEffEditor.hpp"

namespace plux
{

class GuiInterface;
class HostGuiInterface;

// The editor as the host sees it: answers the host's editor requests by asking the editor side.
// Host's user-interface thread, except the tempo, which the audio thread writes.
class Vst2WinEditor final : public vst2::AEffEditor
{
public:
    Vst2WinEditor(vst2::AudioEffect* effect, GuiInterface& gui, HostGuiInterface& host);

    bool getRect(vst2::ERect** rect) override;
    bool open(void* parent) override;
    void close() override;

    void set_tempo(double bpm) { tempo_.store(bpm, std::memory_order_relaxed); }
    double get_tempo() const { return tempo_.load(std::memory_order_relaxed); }

private:
    GuiInterface& gui_;
    HostGuiInterface& host_;
    vst2::ERect rect_{};
    std::atomic<double> tempo_{0.0};
};

} // namespace plux
