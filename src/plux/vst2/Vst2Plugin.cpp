#include "plux/vst2/Vst2Plugin.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <span>
#include <stdexcept>

#include "kel/txt/out/ArgFloat.hpp"
#include "kel/txt/out/PrintNa.hpp"
#include "plux/DspInterface.hpp"
#include "plux/GuiInterface.hpp"
#include "plux/HostDspInterface.hpp"
#include "plux/HostGuiInterface.hpp"
#include "plux/HostTimeInfo.hpp"
#include "plux/param/NormalizedParamInterface.hpp"
#include "plux/setting/SettingAutoload.hpp"
#include "plux/setting/SettingMgr.hpp"
#include "plux/vst2/RoundingGuard.hpp"
#include "sys/Clock.hpp"
#include "sys/DebugOutput.hpp"

namespace plux
{

namespace
{

// Text fields as the host's buffers are treated: the size includes the terminating zero.
constexpr int param_text_size = 23;
constexpr int prog_name_size = 23;
constexpr int indexed_name_size = 64;
constexpr int effect_name_size = 31;
constexpr int vendor_text_size = 64;
constexpr int pin_label_size = 63;
constexpr int ext_display_size = 23;
constexpr int ext_value_size = 256;

constexpr vst2::VstIntPtr ext_answer = 0xBEEF;
constexpr vst2::VstIntPtr ext_can_do = 0xBEEF0000;
constexpr vst2::VstInt32 ext_param_display = 7;
constexpr vst2::VstInt32 ext_text_to_value = 27;

void copy_text(char* dst, int size, const std::string& text)
{
    const std::size_t len = std::min(text.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(dst, text.data(), len);
    dst[len] = '\0';
}

bool equals_no_case(const std::string& a, const char* b)
{
    return a.size() == std::strlen(b) &&
           std::equal(a.begin(), a.end(), b,
                      [](char x, char y)
                      {
                          return std::tolower(static_cast<unsigned char>(x)) ==
                                 std::tolower(static_cast<unsigned char>(y));
                      });
}

// floor(x + 0.5), the effect's rounding.
int round_int(double x)
{
    const double r = std::floor(x + 0.5);
    return r >= 2147483647.0    ? 2147483647
           : r <= -2147483648.0 ? -2147483647 - 1
                                : static_cast<int>(r);
}

// Values that reach the frame from outside are limited to the normalised range.
float clamp_nrm(float value)
{
    return std::clamp(value, 0.0f, 1.0f);
}

} // namespace

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
    return sys::get_time_s();
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

// Programs and chunks.

void Vst2Plugin::sync_current_prog()
{
    const int cur = getProgram();
    if (!prog_applied_ || cur < 0 || cur >= bank_.get_nbr_prog())
    {
        return;
    }
    ProgramSlot& prog = bank_.use_prog(cur);
    prog.set_name(dsp_->get_prog_name());
    dsp_->save_prog(prog.use_values());
    prog.set_name(dsp_->get_prog_name());
}

void Vst2Plugin::select_prog(int program)
{
    RoundingGuard guard;
    AudioEffectX::setProgram(program);
    const ProgramSlot prog = bank_.use_prog(program);
    apply_prog(prog, prio_program, true, false);
    prog_applied_ = true;
}

void Vst2Plugin::setProgram(vst2::VstInt32 program)
{
    std::lock_guard lock(prog_mutex_);
    if (program < 0 || program >= bank_.get_nbr_prog())
    {
        return;
    }
    sync_current_prog();
    select_prog(program);
}

void Vst2Plugin::setProgramName(const char* name)
{
    std::lock_guard lock(prog_mutex_);
    const int cur = getProgram();
    if (cur < 0 || cur >= bank_.get_nbr_prog())
    {
        return;
    }
    ProgramSlot& prog = bank_.use_prog(cur);
    prog.set_name(name);
    dsp_->set_prog_name(prog.get_name());
}

void Vst2Plugin::getProgramName(char* name)
{
    std::lock_guard lock(prog_mutex_);
    const int cur = getProgram();
    copy_text(name, prog_name_size,
              cur >= 0 && cur < bank_.get_nbr_prog() ? dsp_->get_prog_name() : std::string());
}

bool Vst2Plugin::getProgramNameIndexed(vst2::VstInt32 /*category*/, vst2::VstInt32 index,
                                       char* text)
{
    std::lock_guard lock(prog_mutex_);
    if (index < 0 || index >= bank_.get_nbr_prog())
    {
        return false;
    }
    const std::string name = index == getProgram() ? dsp_->get_prog_name()
                                                   : std::string(bank_.use_prog(index).get_name());
    copy_text(text, indexed_name_size, name);
    return true;
}

BankManager Vst2Plugin::get_bank()
{
    std::lock_guard lock(prog_mutex_);
    sync_current_prog();
    return bank_;
}

vst2::VstInt32 Vst2Plugin::getChunk(void** data, bool is_preset)
{
    std::lock_guard lock(prog_mutex_);
    *data = nullptr;
    sync_current_prog();

    const basic::SerializableInterface* state = nullptr;
    const int cur = getProgram();
    if (is_preset)
    {
        if (cur < 0 || cur >= bank_.get_nbr_prog())
        {
            return 0;
        }
        state = &bank_.use_prog(cur);
    }
    else if (const auto* alt = dsp_->use_alt_state(); alt != nullptr)
    {
        state = alt;
    }
    else
    {
        state = &bank_;
    }
    const int size = state->get_size();
    if (size <= 0)
    {
        return 0;
    }
    chunk_.assign(static_cast<std::size_t>(size), 0);
    if (state->write(chunk_) != 0)
    {
        chunk_.clear();
        return 0;
    }
    *data = chunk_.data();
    return size;
}

vst2::VstInt32 Vst2Plugin::setChunk(void* data, vst2::VstInt32 byte_size, bool is_preset)
{
    std::lock_guard lock(prog_mutex_);
    const std::span<const std::uint8_t> src(static_cast<const std::uint8_t*>(data),
                                            static_cast<std::size_t>(byte_size));
    int cur = getProgram();
    if (is_preset)
    {
        if (cur < 0 || cur >= bank_.get_nbr_prog() || bank_.use_prog(cur).read(src) != 0)
        {
            return 0;
        }
    }
    else if (auto* alt = dsp_->use_alt_state(); alt != nullptr)
    {
        if (alt->read(src) != 0)
        {
            return 0;
        }
        sync_current_prog();
    }
    else
    {
        BankManager bank;
        if (bank.read(src) != 0 || bank.get_nbr_prog() == 0)
        {
            return 0;
        }
        bank_ = std::move(bank);
        // The host was told another number of programs at start; indices stay within the bank.
        cur = std::clamp(cur, 0, bank_.get_nbr_prog() - 1);
    }
    select_prog(cur);
    return 1;
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

void Vst2Plugin::update_tempo()
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

void Vst2Plugin::processReplacing(float** inputs, float** outputs, vst2::VstInt32 frames)
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

// Parameters as the host sees them.

void Vst2Plugin::setParameter(vst2::VstInt32 index, float value)
{
    const int dsp_index = host_to_dsp(index);
    if (dsp_index >= 0)
    {
        set_param(dsp_index, value, prio_host);
    }
}

float Vst2Plugin::getParameter(vst2::VstInt32 index)
{
    const auto* param = param_of_host_index(index);
    return param != nullptr ? param->get_nrm() : 0.0f;
}

void Vst2Plugin::getParameterLabel(vst2::VstInt32 index, char* text)
{
    *text = '\0';
    if (const auto* param = param_of_host_index(index))
    {
        param->get_unit(text, param_text_size);
    }
}

void Vst2Plugin::getParameterDisplay(vst2::VstInt32 index, char* text)
{
    RoundingGuard guard;
    *text = '\0';
    if (const auto* param = param_of_host_index(index))
    {
        param->conv_val_to_str(text, param_text_size, param->get_val());
    }
}

void Vst2Plugin::getParameterName(vst2::VstInt32 index, char* text)
{
    *text = '\0';
    if (const auto* param = param_of_host_index(index))
    {
        param->get_name(text, param_text_size);
    }
}

bool Vst2Plugin::canParameterBeAutomated(vst2::VstInt32 index)
{
    const auto* param = param_of_host_index(index);
    return param == nullptr || param->get_automation_level() <= automation_threshold_;
}

bool Vst2Plugin::string2parameter(vst2::VstInt32 index, char* text)
{
    if (text == nullptr)
    {
        return true;
    }
    const auto* param = param_of_host_index(index);
    if (param == nullptr)
    {
        return false;
    }
    bool ok = false;
    const double value = param->conv_str_to_val(text, ok);
    if (!ok)
    {
        return false;
    }
    setParameter(index, param->conv_val_to_nrm(value));
    return true;
}

bool Vst2Plugin::getParameterProperties(vst2::VstInt32 index,
                                        vst2::VstParameterProperties* properties)
{
    const auto* param = param_of_host_index(index);
    if (param == nullptr)
    {
        return false;
    }
    std::memset(properties, 0, sizeof(*properties));
    char label[sizeof(properties->label)] = {};
    param->get_name(label, sizeof(label));
    std::memcpy(properties->label, label, sizeof(label));
    std::memcpy(properties->shortLabel, label, sizeof(properties->shortLabel) - 1);
    properties->shortLabel[sizeof(properties->shortLabel) - 1] = '\0';
    if (param->is_discrete())
    {
        const int a = round_int(param->conv_nrm_to_val(0.0f));
        const int b = round_int(param->conv_nrm_to_val(1.0f));
        const int lo = std::min(a, b);
        const int hi = std::max(a, b);
        if (static_cast<long long>(hi) - lo == 1)
        {
            properties->flags = vst2::kVstParameterIsSwitch;
        }
        else
        {
            properties->flags = vst2::kVstParameterUsesIntegerMinMax;
            properties->minInteger = lo;
            properties->maxInteger = hi;
        }
    }
    else
    {
        properties->flags = vst2::kVstParameterCanRamp;
    }
    return true;
}

// Pins.

int Vst2Plugin::find_pin(const std::vector<std::array<int, 2>>& map, int pin, int& bus) const
{
    for (std::size_t b = 0; b < map.size(); ++b)
    {
        for (std::size_t chn = 0; chn < 2; ++chn)
        {
            if (map[b][chn] == pin)
            {
                bus = static_cast<int>(b);
                return static_cast<int>(chn);
            }
        }
    }
    return -1;
}

bool Vst2Plugin::fill_pin_properties(const std::vector<std::array<int, 2>>& map, bool input,
                                     int pin, vst2::VstPinProperties* properties)
{
    int bus = -1;
    const int chn = pin >= 0 ? find_pin(map, pin, bus) : -1;
    if (chn < 0)
    {
        return false;
    }
    const BusInfo& info = input ? dsp_->use_in_bus(bus) : dsp_->use_out_bus(bus);
    std::memset(properties, 0, sizeof(*properties));
    properties->flags = vst2::kVstPinIsActive;
    if (info.get_nbr_chn() == 2)
    {
        properties->flags |= vst2::kVstPinIsStereo;
    }
    copy_text(properties->label, pin_label_size, info.get_chn_name(chn));
    return true;
}

bool Vst2Plugin::getInputProperties(vst2::VstInt32 index, vst2::VstPinProperties* properties)
{
    return fill_pin_properties(in_pins_, true, index, properties);
}

bool Vst2Plugin::getOutputProperties(vst2::VstInt32 index, vst2::VstPinProperties* properties)
{
    return fill_pin_properties(out_pins_, false, index, properties);
}

// Texts and capabilities.

vst2::VstPlugCategory Vst2Plugin::getPlugCategory()
{
    const std::string category = dsp_->get_info_str("plugin_category");
    if (category.empty() || equals_no_case(category, "effect") ||
        equals_no_case(category, "hybrid"))
    {
        return vst2::kPlugCategEffect;
    }
    if (equals_no_case(category, "instrument"))
    {
        return vst2::kPlugCategSynth;
    }
    if (equals_no_case(category, "analyser"))
    {
        return vst2::kPlugCategAnalysis;
    }
    return vst2::kPlugCategUnknown;
}

bool Vst2Plugin::getEffectName(char* name)
{
    std::string text = dsp_->get_info_str("plugin_name_display");
    if (text.empty())
    {
        text = dsp_->get_info_str("plugin_name");
    }
    copy_text(name, effect_name_size, text);
    return true;
}

bool Vst2Plugin::getVendorString(char* text)
{
    copy_text(text, vendor_text_size, dsp_->get_info_str("manufacturer"));
    return true;
}

bool Vst2Plugin::getProductString(char* text)
{
    RoundingGuard guard;
    char product[vendor_text_size];
    std::snprintf(product, sizeof(product), "%s %s %.2f",
                  dsp_->get_info_str("manufacturer").c_str(),
                  dsp_->get_info_str("plugin_name").c_str(), dsp_->get_info_num("plugin_version"));
    copy_text(text, vendor_text_size, product);
    return true;
}

vst2::VstInt32 Vst2Plugin::getVendorVersion()
{
    const double v = dsp_->get_info_num("plugin_version");
    const double major = std::floor(v);
    const double f = (v - major) * 10.0;
    const double minor = std::floor(f);
    const int patch = round_int((f - minor) * 10.0);
    return static_cast<vst2::VstInt32>(major) * 256 + static_cast<vst2::VstInt32>(minor) * 16 +
           patch;
}

vst2::VstIntPtr Vst2Plugin::vendorSpecific(vst2::VstInt32 index, vst2::VstIntPtr value, void* ptr,
                                           float opt)
{
    if (index != ext_param_display && index != ext_text_to_value)
    {
        return 0;
    }
    RoundingGuard guard;
    const auto* param = value >= 0 && value <= 0x7FFFFFFF
                            ? param_of_host_index(static_cast<vst2::VstInt32>(value))
                            : nullptr;
    if (param == nullptr || ptr == nullptr)
    {
        return 0;
    }
    char* text = static_cast<char*>(ptr);
    if (index == ext_param_display)
    {
        param->conv_val_to_str(text, ext_display_size, param->conv_nrm_to_val(opt));
        return ext_answer;
    }
    bool ok = false;
    const double parsed = param->conv_str_to_val(text, ok);
    if (ok)
    {
        kel::txt::out::PrintNa printer(text, ext_value_size);
        printer.print("%1fp7%", kel::txt::out::ArgFloat(param->conv_val_to_nrm(parsed)));
        return ext_answer;
    }
    return value == 0 && text[0] == '\0' ? ext_answer : 0;
}

vst2::VstIntPtr Vst2Plugin::canDo(const char* text)
{
    const std::string t(text);
    if (t == "sendVstMidiEvent" || t == "sendVstEvents" || t == "receiveVstMidiEvent" ||
        t == "receiveVstEvents")
    {
        return has_midi() ? 1 : -1;
    }
    if (t == "receiveVstTimeInfo")
    {
        return 1;
    }
    if (t == "hasCockosExtensions" || t == "hasQuorraExtensions")
    {
        return ext_can_do;
    }
    return 0;
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
