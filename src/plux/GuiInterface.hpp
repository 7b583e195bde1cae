#pragma once

namespace ravik
{
class WindowInterface;
}

namespace plux
{

class BankManager;
class DspInterface;
class HostGuiInterface;

// The editor side of an effect, as the plug-in frame drives it. Everything here runs on the
// host's user-interface thread except set_param_value(), which comes from whichever thread
// changed the parameter.
class GuiInterface
{
public:
    virtual ~GuiInterface() = default;

    // Loads what the editor needs; throws std::runtime_error when it cannot.
    virtual void init() = 0;
    // Builds the editor once; throws std::runtime_error when it cannot.
    virtual void set_default_state() = 0;
    // A bank is about to be handed to the audio thread.
    virtual void bank_written(const BankManager& /*bank*/) {}

    virtual HostGuiInterface* get_host() const = 0;
    virtual void set_host(HostGuiInterface* host) = 0;
    virtual DspInterface* get_dsp() const = 0;
    virtual void set_dsp(DspInterface* dsp) = 0;
    virtual void set_window(ravik::WindowInterface* window) = 0;
    virtual ravik::WindowInterface* get_window() const = 0;

    // The editor's size in pixels; the second form is asked when the window may be resized.
    virtual void get_size(int& width, int& height) const = 0;
    virtual void get_resizable_size(int& width, int& height) const = 0;
    // Opens the editor in the host's parent window (HWND on Windows, X11 window id on Linux);
    // 0 on success.
    virtual int open(void* parent) = 0;
    virtual void close() = 0;

    // A parameter changed elsewhere (host, MIDI, program change): show the normalised value.
    virtual void set_param_value(int index, float value, int origin) = 0;
    virtual void set_param_mark(int index, int mark) = 0;
};

} // namespace plux
