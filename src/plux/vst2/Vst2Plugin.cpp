#include "plux/vst2/Vst2Plugin.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "kel/NoCase.hpp"
#include "plux/DspInterface.hpp"
#include "plux/GuiInterface.hpp"
#include "plux/HostDspInterface.hpp"
#include "plux/HostGuiInterface.hpp"
#include "plux/HostTimeInfo.hpp"
#include "plux/param/NormalizedParamInterface.hpp"
#include "plux/setting/SettingAutoload.hpp"
#include "plux/setting/SettingMgr.hpp"
#include "plux/vst2/RoundingGuard.hpp"
#include "plux/vst2/Vst2PluginDetail.hpp"
#include "sys/Clock.hpp"
#include "sys/DebugOutput.hpp"

namespace plux
{

using kel::equals_no_case;
using vst2_detail::clamp_nrm;

Vst2Plugin::Vst2Plugin(vst2::HostCallback host, Vst2PluginParts parts, const BankManager& bank,
                       vst2::VstInt32 unique_id)
    : AudioEffectX(host, bank.get_nbr_prog(), 0)
    , host_dsp_(std::move(parts.host_dsp))
    , host_gui_(std::move(parts.host_gui))
    , bank_(bank)
    , bank_buf_(bank)
    , dsp_(std::move(parts.dsp))
    , gui_(std::move(parts.gui))
{
    if (dsp_ == nullptr)
    {
        throw std::invalid_argument("plux::Vst2Plugin::Vst2Plugin() : No DSP side.");
    }
    const int nbr_param = dsp_->get_nbr_param();
    hidden_ = dsp_->get_info_num("hide_parameters") != 0;
    setNumParams(hidden_ ? 0 : nbr_param);
    setNumPrograms(bank_.get_nbr_prog());

    reorder_.init(*dsp_);
    prio_list_.resize(nbr_param);
    // Every parameter starts armed for its first begin-edit. Sized here rather than in init()
    // because the background thread may look at the gestures from the end of construction on.
    gestures_.resize(nbr_param);

    int pin = 0;
    for (int bus = 0; bus < dsp_->get_nbr_in_buses(); ++bus)
    {
        std::array<int, 2> pins{-1, -1};
        for (int chn = 0; chn < std::min(dsp_->use_in_bus(bus).get_nbr_chn(), 2); ++chn)
        {
            pins[static_cast<std::size_t>(chn)] = pin++;
        }
        in_pins_.push_back(pins);
    }
    nbr_inputs_ = pin;
    pin = 0;
    for (int bus = 0; bus < dsp_->get_nbr_out_buses(); ++bus)
    {
        std::array<int, 2> pins{-1, -1};
        for (int chn = 0; chn < std::min(dsp_->use_out_bus(bus).get_nbr_chn(), 2); ++chn)
        {
            pins[static_cast<std::size_t>(chn)] = pin++;
        }
        out_pins_.push_back(pins);
    }
    nbr_outputs_ = pin;
    setNumInputs(nbr_inputs_);
    setNumOutputs(nbr_outputs_);
    canProcessReplacing(true);

    midi_mgr_ = std::make_unique<MidiMgr>();
    midi_mgr_->set_dsp(dsp_.get());
    midi_mgr_->set_cmd(this);
    midi_host_comp_ = std::make_unique<Vst2MidiDevSelComp>(*this);
    midi_dispatcher_ = std::make_unique<MidiDevSelDispatcher>(*midi_mgr_);
    midi_mgr_->set_dev_selector(midi_dispatcher_.get());
    midi_dispatcher_->add_component(*midi_host_comp_);

    isSynth(equals_no_case(dsp_->get_info_str("plugin_category"), "instrument"));
    setUniqueID(unique_id);
}

Vst2Plugin::~Vst2Plugin()
{
    stop();
}

void Vst2Plugin::init()
{
    if (const int ret = dsp_->init(); ret != 0)
    {
        char text[96];
        std::snprintf(text, sizeof(text), "plux::Vst2Plugin::init(): DSP init answered %d.\n", ret);
        sys::debug_output(text);
    }
    const bool extra = bank_.get_nbr_prog() > 0 && !bank_.use_prog(0).use_extra().empty();
    programsAreChunks(dsp_->get_info_num("force_chunk_storage") != 0 || extra);

    // MIDI comes from the host until the user or a setting file chooses another port.
    if (const int ret = midi_dispatcher_->init(); ret != 0)
    {
        sys::debug_output("plux::Vst2Plugin::init(): MIDI devices answered " + std::to_string(ret) +
                          ".\n");
    }
    if (const int ret = midi_dispatcher_->select_default(true, false); ret != 0)
    {
        sys::debug_output("plux::Vst2Plugin::init(): MIDI input answered " + std::to_string(ret) +
                          ".\n");
    }

    if (gui_ != nullptr)
    {
        try
        {
            gui_->init();
        }
        catch (const std::exception& e)
        {
            sys::debug_output(std::string(e.what()) + "\n");
            drop_gui();
        }
    }

    // The last setting file, when the user asked for it to be loaded at every start.
    if (SettingMgr* mgr = dsp_->use_setting_mgr())
    {
        try
        {
            if (const int ret = mgr->use_autoload().autoload(); ret != 0)
            {
                sys::debug_output("plux::Vst2Plugin::init(): autoload answered " +
                                  std::to_string(ret) + ".\n");
            }
        }
        catch (const std::exception& e)
        {
            sys::debug_output(std::string(e.what()) + "\n");
        }
    }
}

void Vst2Plugin::start()
{
    dsp_->start();
    if (gui_ != nullptr)
    {
        try
        {
            gui_->set_default_state();
        }
        catch (const std::exception& e)
        {
            sys::debug_output(std::string(e.what()) + "\n");
            drop_gui();
        }
    }
}

void Vst2Plugin::drop_gui()
{
    dsp_->set_gui(nullptr);
    gui_lost();
    gui_.reset();
}

void Vst2Plugin::stop()
{
    if (stopped_)
    {
        return;
    }
    stopped_ = true;
    // Every begin-edit the host saw gets its end-edit.
    for (const int index : gestures_.list_open())
    {
        if (gestures_.begin_closing(index))
        {
            endEdit(reorder_.to_host(index));
            gestures_.finish_closing(index);
        }
    }
    dsp_->stop();
    midi_dispatcher_->deinit();
}

double Vst2Plugin::now()
{
    return sys::get_coarse_time_s();
}

int Vst2Plugin::host_to_dsp(vst2::VstInt32 index) const
{
    if (index < 0 || index >= dsp_->get_nbr_param())
    {
        return -1;
    }
    return reorder_.to_dsp(index);
}

NormalizedParamInterface* Vst2Plugin::param_of_host_index(vst2::VstInt32 index)
{
    const int dsp_index = host_to_dsp(index);
    return dsp_index >= 0 ? &dsp_->use_param(dsp_index) : nullptr;
}

int Vst2Plugin::get_in_pin(int bus, int chn) const
{
    if (bus < 0 || bus >= static_cast<int>(in_pins_.size()) || chn < 0 || chn > 1)
    {
        return -1;
    }
    return in_pins_[static_cast<std::size_t>(bus)][static_cast<std::size_t>(chn)];
}

int Vst2Plugin::get_out_pin(int bus, int chn) const
{
    if (bus < 0 || bus >= static_cast<int>(out_pins_.size()) || chn < 0 || chn > 1)
    {
        return -1;
    }
    return out_pins_[static_cast<std::size_t>(bus)][static_cast<std::size_t>(chn)];
}

// The parameter road.

bool Vst2Plugin::can_take(int index, int priority)
{
    return prio_list_.can_take(index, now(), priority);
}

bool Vst2Plugin::take(int index, int priority)
{
    return prio_list_.take(index, now(), priority);
}

void Vst2Plugin::release(int index, int priority)
{
    prio_list_.release(index, priority);
}

// The parameter objects are the current program's values: the bank's copy of the current program
// is brought up to date from them whenever the bank is read or the program is left, so the audio
// thread never touches the bank.
bool Vst2Plugin::set_param(int index, float value, int priority)
{
    if (std::isnan(value) || index < 0 || index >= dsp_->get_nbr_param())
    {
        return false;
    }
    value = clamp_nrm(value);
    if (!prio_list_.take(index, now(), priority))
    {
        return false;
    }
    dsp_->use_param(index).set_nrm_and_notify(value);
    if (gui_ != nullptr)
    {
        gui_->set_param_value(index, value, priority);
    }
    return true;
}

bool Vst2Plugin::notify_host(int index, float value)
{
    if (hidden_ || dsp_->get_nbr_param() == 0)
    {
        return true;
    }
    midi_mgr_->send_feedback(index, value);
    const int host_index = reorder_.to_host(index);
    if (gestures_.begin_opening(index))
    {
        beginEdit(host_index);
        automate(host_index, value);
        gestures_.finish_opening(index);
    }
    else
    {
        automate(host_index, value);
    }
    if (gui_ == nullptr)
    {
        updateDisplay();
    }
    return true;
}

bool Vst2Plugin::set_param_and_notify(int index, float value, int priority)
{
    if (!set_param(index, value, priority))
    {
        return false;
    }
    notify_host(index, dsp_->use_param(index).get_nrm());
    return true;
}

int Vst2Plugin::apply_prog(const ProgramSlot& prog, int priority, bool release_after, bool notify)
{
    std::lock_guard lock(prog_mutex_);
    const double t = now();
    const int cur = getProgram();
    if (cur >= 0 && cur < bank_.get_nbr_prog())
    {
        bank_.set_prog(cur, prog);
    }

    // A NaN leaves its parameter as it is; other values are limited to 0..1.
    const int nbr_param = dsp_->get_nbr_param();
    std::vector<float> values = prog.use_values();
    for (std::size_t i = 0; i < values.size(); ++i)
    {
        if (std::isnan(values[i]))
        {
            values[i] = static_cast<int>(i) < nbr_param
                            ? dsp_->use_param(static_cast<int>(i)).get_nrm()
                            : 0.0f;
        }
        values[i] = clamp_nrm(values[i]);
    }
    dsp_->set_prog_name(prog.get_name());
    dsp_->load_prog(values);

    const int n = std::min(static_cast<int>(values.size()), nbr_param);
    for (int i = 0; i < n; ++i)
    {
        if (!prio_list_.take(i, t, priority))
        {
            continue;
        }
        const float value = dsp_->use_param(i).get_nrm();
        if (gui_ != nullptr)
        {
            gui_->set_param_value(i, value, priority);
        }
        midi_mgr_->send_feedback(i, value);
        if (notify)
        {
            automate(reorder_.to_host(i), value);
        }
        if (release_after)
        {
            prio_list_.release(i, priority);
        }
    }
    return updateDisplay() ? 1 : 0;
}

void Vst2Plugin::run_gestures()
{
    for (const int index : gestures_.list_open())
    {
        if (prio_list_.can_take(index, now(), prio_end_edit_probe) &&
            gestures_.begin_closing(index))
        {
            endEdit(reorder_.to_host(index));
            gestures_.finish_closing(index);
        }
    }
}

// Audio.

void Vst2Plugin::suspend()
{
    std::lock_guard lock(prog_mutex_);
    std::vector<std::uint8_t>().swap(chunk_);
    dsp_->clear_buffers();
}

void Vst2Plugin::resume()
{
    {
        std::lock_guard lock(prog_mutex_);
        std::vector<std::uint8_t>().swap(chunk_);
    }
    int threshold = 0;
    for (int i = 0; i < dsp_->get_nbr_param(); ++i)
    {
        threshold = std::max(threshold, dsp_->use_param(i).get_automation_level());
    }
    automation_threshold_ = threshold;
    dsp_->clear_buffers();
}

void Vst2Plugin::setSampleRate(float rate)
{
    // A host that sends no usable rate keeps the previous one rather than breaking the filters.
    if (!(rate > 0.0f) || !std::isfinite(rate))
    {
        return;
    }
    AudioEffectX::setSampleRate(rate);
    dsp_->set_sample_rate(rate);
    dsp_->clear_buffers();
}

void Vst2Plugin::update_tempo() noexcept
{
    HostTimeInfo info;
    info.want_tempo = true;
    host_dsp_->get_time_info(info);
    if (info.failed || !info.want_tempo)
    {
        return;
    }
    const auto tempo = static_cast<float>(info.tempo);
    if (tempo != last_tempo_)
    {
        dsp_->set_tempo(tempo);
        tempo_changed(tempo);
        last_tempo_ = tempo;
    }
}

void Vst2Plugin::processReplacing(float** inputs, float** outputs, vst2::VstInt32 frames) noexcept
{
    if (bank_buf_.read_check([this](const BankManager&) { dsp_->bank_changed(bank_buf_); }))
    {
        updateDisplay();
    }
    update_tempo();
    midi_mgr_->begin_block();
    if (inputs != nullptr && outputs != nullptr && frames > 0)
    {
        dsp_->process(outputs, inputs, frames, 0);
    }
    midi_mgr_->end_block();
}

void Vst2Plugin::send_events_to_host(vst2::VstEvents& events)
{
    sendVstEventsToHost(&events);
}

vst2::VstInt32 Vst2Plugin::processEvents(vst2::VstEvents* events)
{
    midi_host_comp_->process_events(*events);
    return 1;
}

vst2::VstInt32 Vst2Plugin::idle()
{
    if (!gestures_in_bkg_)
    {
        run_gestures();
    }
    return 1;
}

} // namespace plux
