#pragma once

#include <string>
#include <vector>

#include "plux/BusInfo.hpp"

namespace basic
{
class SerializableInterface;
template <typename T>
class LockFreeBuffer;
} // namespace basic

namespace plux
{

class BankManager;
class BkgInterface;
class GuiInterface;
class HostDspInterface;
class NormalizedParamInterface;
class SettingMgr;

// The signal-processing side of an effect, as the plug-in frame drives it.
class DspInterface
{
public:
    virtual ~DspInterface() = default;

    // One-time set-up after construction and wiring; 0 on success.
    virtual int init() = 0;
    // Called after init(), before the first program is set.
    virtual void start() = 0;
    // Called when the plug-in is torn down.
    virtual void stop() = 0;

    virtual HostDspInterface* get_host() const = 0;
    virtual void set_host(HostDspInterface* host) = 0;
    virtual GuiInterface* get_gui() const = 0;
    virtual void set_gui(GuiInterface* gui) = 0;

    // The setting manager through which the settings are loaded once at the end of the
    // plug-in's initialisation; null when the DSP side keeps no settings.
    virtual SettingMgr* use_setting_mgr() { return nullptr; }

    virtual int get_nbr_in_buses() const = 0;
    virtual const BusInfo& use_in_bus(int index) const = 0;
    virtual int get_nbr_out_buses() const = 0;
    virtual const BusInfo& use_out_bus(int index) const = 0;
    // The sample rates the DSP side supports, in hertz.
    virtual double get_min_sample_rate() const = 0;
    virtual double get_max_sample_rate() const = 0;
    virtual void set_sample_rate(float rate) = 0;

    virtual int get_nbr_param() const = 0;
    virtual NormalizedParamInterface& use_param(int index) = 0;

    // The current program's name as the DSP and editor sides hold it.
    virtual void set_prog_name(const std::string& name) = 0;
    virtual std::string get_prog_name() const = 0;

    // Audio thread: a new bank was handed over through the buffer.
    virtual void bank_changed(basic::LockFreeBuffer<BankManager>& /*buffer*/) noexcept {}

    // Information by key; an unknown key answers 0 or the empty text.
    virtual double get_info_num(const std::string& key) const = 0;
    virtual std::string get_info_str(const std::string& key) const = 0;

    // Clears the processing state (filters, delay lines, glides).
    virtual void clear_buffers() = 0;
    // Audio thread: the host tempo in beats per minute changed.
    virtual void set_tempo(float /*bpm*/) noexcept {}
    // The editor is about to close its window.
    virtual void gui_closing() {}

    // The DSP side's own background task, or null.
    virtual BkgInterface* use_bkg_task() { return nullptr; }
    // An object that takes the place of the bank in whole-bank chunks, or null.
    virtual basic::SerializableInterface* use_alt_state() { return nullptr; }

    // Copies normalised values (in DSP order) into the parameters, and the parameters into values.
    virtual void load_prog(const std::vector<float>& values) = 0;
    virtual void save_prog(std::vector<float>& values) const = 0;

    // Audio thread: renders nbr_spl frames. outputs and inputs hold one pointer per channel of
    // every bus, in bus order; they may point to the same memory. Returns flag.
    virtual int process(float** outputs, float** inputs, int nbr_spl, int flag) noexcept = 0;
    // The same, adding to the outputs.
    virtual int process_adding(float** outputs, float** inputs, int nbr_spl, int flag) noexcept = 0;
};

} // namespace plux
