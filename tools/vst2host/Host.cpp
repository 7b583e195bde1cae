#include "vst2host/Host.hpp"

#include <algorithm>
#include <array>
#include <cstring>
#include <shared_mutex>
#include <thread>

namespace vst2host
{

namespace
{

// Room for texts the plug-in writes: hosts give more than the interface's nominal limits, since
// plug-ins often write past them.
constexpr std::size_t text_room = 256;

// A shell that never answers 0 must not keep the host listing forever.
constexpr std::size_t max_shell_plugins = 4096;

// Every live effect and its host. The callback holds the lock shared for the whole call, so a
// host cannot go away under a call from one of the plug-in's threads.
struct Registry
{
    std::shared_mutex mutex;
    std::map<const vst2::AEffect*, Host*> hosts;
};

Registry& use_registry()
{
    static Registry registry;
    return registry;
}

// The host whose load() is calling the entry on this thread: the entry calls back before the
// host knows the effect record (with a null effect, or with the record it is building).
thread_local Host* loading_host = nullptr;

// The host whose process() runs on this thread.
thread_local const Host* processing_host = nullptr;

template <std::size_t N>
void terminate(char (&text)[N]) noexcept
{
    text[N - 1] = '\0';
}

// Host texts go into the plug-in's 64-byte buffers.
vst2::VstIntPtr copy_host_text(const std::string& text, void* ptr) noexcept
{
    if (ptr == nullptr)
        return 0;
    const std::size_t length = std::min(text.size(), vst2::kVstMaxVendorStrLen - 1);
    char* out = static_cast<char*>(ptr);
    std::memcpy(out, text.data(), length);
    out[length] = '\0';
    return 1;
}

// A capability text from the plug-in, read no further than any sensible capability goes.
std::string copy_plugin_text(const void* ptr)
{
    if (ptr == nullptr)
        return {};
    const char* text = static_cast<const char*>(ptr);
    const void* end = std::memchr(text, '\0', text_room);
    const std::size_t length =
        end != nullptr ? static_cast<std::size_t>(static_cast<const char*>(end) - text) : 0;
    return std::string(text, length);
}

} // namespace

Host::Host() = default;

Host::~Host()
{
    stop();
    module.close();
}

bool Host::load(const std::string& path)
{
    if (loaded)
    {
        error = "this host has loaded a plug-in already";
        return false;
    }
    loaded = true;
    if (!module.open(path))
    {
        error = module.get_error();
        return false;
    }
    auto entry = reinterpret_cast<vst2::PluginEntryProc>(module.find_proc("VSTPluginMain"));
    if (entry == nullptr)
        entry = reinterpret_cast<vst2::PluginEntryProc>(module.find_proc("main"));
    if (entry == nullptr)
    {
        error = path + " exports neither VSTPluginMain nor main";
        module.close();
        return false;
    }
    if (!build(entry, "the entry of " + path))
    {
        module.close();
        return false;
    }
    return true;
}

bool Host::load_entry(vst2::PluginEntryProc entry)
{
    if (loaded)
    {
        error = "this host has loaded a plug-in already";
        return false;
    }
    loaded = true;
    if (entry == nullptr)
    {
        error = "no entry";
        return false;
    }
    return build(entry, "the entry");
}

bool Host::build(vst2::PluginEntryProc entry, const std::string& what)
{
    Host* const outer = loading_host;
    loading_host = this;
    vst2::AEffect* const made = entry(&Host::host_callback);
    loading_host = outer;

    if (made == nullptr)
    {
        error = what + " answered no effect";
        return false;
    }
    if (made->magic != vst2::kEffectMagic)
    {
        // Not an effect record: nothing in it can be called, not even effClose.
        error = what + " answered a record without the VstP magic";
        return false;
    }
    {
        Registry& registry = use_registry();
        std::unique_lock lock(registry.mutex);
        registry.hosts[made] = this;
    }
    made->user = this;
    effect = made;
    return true;
}

bool Host::start(float rate, vst2::VstInt32 block)
{
    if (effect == nullptr || opened || block <= 0 || !(rate > 0.0f))
        return false;
    {
        std::lock_guard lock(mutex);
        sample_rate = rate;
        block_size = block;
        sample_pos = 0.0;
    }
    silence.assign(static_cast<std::size_t>(block), 0.0f);
    scratch_outputs.clear();
    dispatch(vst2::effOpen);
    opened = true;
    dispatch(vst2::effSetSampleRate, 0, 0, nullptr, rate);
    dispatch(vst2::effSetBlockSize, 0, block);
    resume();
    return true;
}

void Host::suspend()
{
    if (effect == nullptr || !resumed)
        return;
    dispatch(vst2::effMainsChanged, 0, 0);
    resumed = false;
}

void Host::resume()
{
    if (effect == nullptr || resumed)
        return;
    dispatch(vst2::effMainsChanged, 0, 1);
    resumed = true;
}

void Host::stop()
{
    if (effect == nullptr)
        return;
    suspend();
    // effClose is the only way to release an effect, so it is sent also when effOpen never was.
    dispatch(vst2::effClose);
    forget_effect();
}

void Host::forget_effect()
{
    {
        Registry& registry = use_registry();
        std::unique_lock lock(registry.mutex);
        registry.hosts.erase(effect);
    }
    effect = nullptr;
    opened = false;
    resumed = false;
}

vst2::VstIntPtr Host::dispatch(vst2::VstInt32 opcode, vst2::VstInt32 index, vst2::VstIntPtr value,
                               void* ptr, float opt)
{
    if (effect == nullptr || effect->dispatcher == nullptr)
        return 0;
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

std::string Host::get_text(vst2::VstInt32 opcode, vst2::VstInt32 index, vst2::VstIntPtr value)
{
    std::array<char, text_room> text{};
    dispatch(opcode, index, value, text.data());
    text.back() = '\0';
    return text.data();
}

std::string Host::get_effect_name()
{
    return get_text(vst2::effGetEffectName, 0);
}

std::string Host::get_vendor_string()
{
    return get_text(vst2::effGetVendorString, 0);
}

std::string Host::get_product_string()
{
    return get_text(vst2::effGetProductString, 0);
}

vst2::VstIntPtr Host::get_vendor_version()
{
    return dispatch(vst2::effGetVendorVersion);
}

std::string Host::get_param_name(vst2::VstInt32 index)
{
    return get_text(vst2::effGetParamName, index);
}

std::string Host::get_param_label(vst2::VstInt32 index)
{
    return get_text(vst2::effGetParamLabel, index);
}

std::string Host::get_param_display(vst2::VstInt32 index)
{
    return get_text(vst2::effGetParamDisplay, index);
}

std::string Host::get_program_name()
{
    return get_text(vst2::effGetProgramName, 0);
}

void Host::set_program_name(const std::string& name)
{
    std::string text = name;
    dispatch(vst2::effSetProgramName, 0, 0, text.data());
}

vst2::VstIntPtr Host::get_program()
{
    return dispatch(vst2::effGetProgram);
}

void Host::set_program(vst2::VstInt32 program)
{
    dispatch(vst2::effSetProgram, 0, program);
}

std::optional<std::string> Host::get_program_name_indexed(vst2::VstInt32 program,
                                                          vst2::VstInt32 category)
{
    std::array<char, text_room> text{};
    if (dispatch(vst2::effGetProgramNameIndexed, program, category, text.data()) == 0)
        return std::nullopt;
    text.back() = '\0';
    return std::string(text.data());
}

vst2::VstIntPtr Host::can_do(const std::string& capability)
{
    std::string text = capability;
    return dispatch(vst2::effCanDo, 0, 0, text.data());
}

std::vector<unsigned char> Host::get_chunk(bool one_program)
{
    void* data = nullptr;
    const vst2::VstIntPtr size = dispatch(vst2::effGetChunk, one_program ? 1 : 0, 0, &data);
    if (size <= 0 || data == nullptr)
        return {};
    const auto* bytes = static_cast<const unsigned char*>(data);
    return std::vector<unsigned char>(bytes, bytes + size);
}

vst2::VstIntPtr Host::set_chunk(std::span<const unsigned char> data, bool one_program)
{
    // The plug-in gets a writable copy that lives until the next chunk.
    chunk_in.assign(data.begin(), data.end());
    return dispatch(vst2::effSetChunk, one_program ? 1 : 0,
                    static_cast<vst2::VstIntPtr>(chunk_in.size()), chunk_in.data());
}

std::optional<vst2::VstParameterProperties> Host::get_parameter_properties(vst2::VstInt32 index)
{
    vst2::VstParameterProperties properties{};
    if (dispatch(vst2::effGetParameterProperties, index, 0, &properties) == 0)
        return std::nullopt;
    terminate(properties.label);
    terminate(properties.shortLabel);
    terminate(properties.categoryLabel);
    return properties;
}

std::optional<vst2::VstPinProperties> Host::get_pin_properties(vst2::VstInt32 opcode,
                                                               vst2::VstInt32 pin)
{
    vst2::VstPinProperties properties{};
    if (dispatch(opcode, pin, 0, &properties) == 0)
        return std::nullopt;
    terminate(properties.label);
    terminate(properties.shortLabel);
    return properties;
}

std::optional<vst2::VstPinProperties> Host::get_input_properties(vst2::VstInt32 pin)
{
    return get_pin_properties(vst2::effGetInputProperties, pin);
}

std::optional<vst2::VstPinProperties> Host::get_output_properties(vst2::VstInt32 pin)
{
    return get_pin_properties(vst2::effGetOutputProperties, pin);
}

vst2::VstIntPtr Host::vendor_specific(vst2::VstInt32 index, vst2::VstIntPtr value, void* ptr,
                                      float opt)
{
    return dispatch(vst2::effVendorSpecific, index, value, ptr, opt);
}

bool Host::string_to_parameter(vst2::VstInt32 index, const std::string& text)
{
    std::string copy = text;
    return dispatch(vst2::effString2Parameter, index, 0, copy.data()) != 0;
}

std::vector<ShellPlugin> Host::list_shell_plugins()
{
    std::vector<ShellPlugin> plugins;
    while (plugins.size() < max_shell_plugins)
    {
        std::array<char, text_room> name{};
        const vst2::VstIntPtr id = dispatch(vst2::effShellGetNextPlugin, 0, 0, name.data());
        if (id == 0)
            break;
        name.back() = '\0';
        plugins.push_back({static_cast<vst2::VstInt32>(id), name.data()});
    }
    return plugins;
}

void Host::set_parameter(vst2::VstInt32 index, float value)
{
    if (effect != nullptr && effect->setParameter != nullptr)
        effect->setParameter(effect, index, value);
}

float Host::get_parameter(vst2::VstInt32 index)
{
    if (effect == nullptr || effect->getParameter == nullptr)
        return 0.0f;
    return effect->getParameter(effect, index);
}

bool Host::process(std::span<float* const> inputs, std::span<float* const> outputs,
                   vst2::VstInt32 frames)
{
    if (effect == nullptr || effect->processReplacing == nullptr || !resumed || frames < 0 ||
        frames > block_size)
        return false;
    const auto frame_count = static_cast<std::size_t>(frames);
    const std::size_t input_count = std::max<std::size_t>(
        {inputs.size(), static_cast<std::size_t>(std::max(0, effect->numInputs)), 1});
    const std::size_t output_count = std::max<std::size_t>(
        {outputs.size(), static_cast<std::size_t>(std::max(0, effect->numOutputs)), 1});

    // Plug-ins may write into their inputs, so the silence is laid anew for every block.
    std::fill(silence.begin(), silence.begin() + static_cast<std::ptrdiff_t>(frame_count), 0.0f);
    input_pointers.assign(input_count, silence.data());
    for (std::size_t i = 0; i < inputs.size(); ++i)
    {
        if (inputs[i] != nullptr)
            input_pointers[i] = inputs[i];
    }
    if (scratch_outputs.size() < output_count)
        scratch_outputs.resize(output_count, std::vector<float>(silence.size()));
    output_pointers.resize(output_count);
    for (std::size_t i = 0; i < output_count; ++i)
    {
        const bool given = i < outputs.size() && outputs[i] != nullptr;
        output_pointers[i] = given ? outputs[i] : scratch_outputs[i].data();
    }

    const Host* const outer = processing_host;
    processing_host = this;
    effect->processReplacing(effect, input_pointers.data(), output_pointers.data(), frames);
    processing_host = outer;

    std::lock_guard lock(mutex);
    sample_pos += static_cast<double>(frames);
    return true;
}

vst2::VstIntPtr Host::send_events(MidiEventList& events)
{
    return dispatch(vst2::effProcessEvents, 0, 0, events.use_events());
}

void Host::set_version(vst2::VstIntPtr answer)
{
    std::lock_guard lock(mutex);
    answers.version = answer;
}

void Host::set_time_mode(TimeInfoMode mode)
{
    std::lock_guard lock(mutex);
    answers.time_mode = mode;
}

void Host::set_tempo(double beats_per_minute)
{
    std::lock_guard lock(mutex);
    answers.tempo = beats_per_minute;
}

void Host::set_input_connected(vst2::VstInt32 pin, bool connected)
{
    std::lock_guard lock(mutex);
    if (connected)
        answers.disconnected_inputs.erase(pin);
    else
        answers.disconnected_inputs.insert(pin);
}

void Host::set_output_connected(vst2::VstInt32 pin, bool connected)
{
    std::lock_guard lock(mutex);
    if (connected)
        answers.disconnected_outputs.erase(pin);
    else
        answers.disconnected_outputs.insert(pin);
}

void Host::set_vendor_string(const std::string& text)
{
    std::lock_guard lock(mutex);
    answers.vendor = text;
}

void Host::set_product_string(const std::string& text)
{
    std::lock_guard lock(mutex);
    answers.product = text;
}

void Host::set_vendor_version(vst2::VstIntPtr answer)
{
    std::lock_guard lock(mutex);
    answers.vendor_version = answer;
}

void Host::set_can_do(const std::string& capability, vst2::VstIntPtr answer)
{
    std::lock_guard lock(mutex);
    answers.can_do[capability] = answer;
}

void Host::set_directory(std::optional<std::string> directory)
{
    std::lock_guard lock(mutex);
    answers.directory = std::move(directory);
}

void Host::set_size_window_answer(vst2::VstIntPtr answer)
{
    std::lock_guard lock(mutex);
    answers.size_window = answer;
}

void Host::set_parameter_quantization(vst2::VstIntPtr answer)
{
    std::lock_guard lock(mutex);
    answers.parameter_quantization = answer;
}

void Host::set_automation_state(vst2::VstIntPtr answer)
{
    std::lock_guard lock(mutex);
    answers.automation_state = answer;
}

void Host::set_process_level(std::optional<vst2::VstIntPtr> answer)
{
    std::lock_guard lock(mutex);
    answers.process_level = answer;
}

void Host::set_current_id(vst2::VstInt32 id)
{
    std::lock_guard lock(mutex);
    answers.current_id = id;
}

std::vector<vst2::VstEvent> Host::get_received_events() const
{
    std::lock_guard lock(mutex);
    return received_events;
}

void Host::clear_received_events()
{
    std::lock_guard lock(mutex);
    received_events.clear();
}

vst2::VstIntPtr Host::host_callback(vst2::AEffect* effect, vst2::VstInt32 opcode,
                                    vst2::VstInt32 index, vst2::VstIntPtr value, void* ptr,
                                    float opt)
{
    try
    {
        Registry& registry = use_registry();
        std::shared_lock lock(registry.mutex);
        Host* host = nullptr;
        if (effect != nullptr)
        {
            const auto found = registry.hosts.find(effect);
            if (found != registry.hosts.end())
                host = found->second;
        }
        if (host == nullptr)
            host = loading_host;
        if (host == nullptr)
            return 0;
        return host->answer(effect, opcode, index, value, ptr, opt);
    }
    catch (...)
    {
        // Nothing may unwind through the plug-in's frames.
        return 0;
    }
}

vst2::VstIntPtr Host::answer(const vst2::AEffect* from, vst2::VstInt32 opcode, vst2::VstInt32 index,
                             vst2::VstIntPtr value, void* ptr, float opt)
{
    std::string capability;
    if (opcode == vst2::audioMasterCanDo)
        capability = copy_plugin_text(ptr);
    if (recording.load(std::memory_order_relaxed))
    {
        CallbackRecord record;
        record.opcode = opcode;
        record.index = index;
        record.value = value;
        record.opt = opt;
        record.null_effect = from == nullptr;
        record.thread = std::this_thread::get_id();
        record.text = capability;
        log.add(std::move(record));
    }

    std::lock_guard lock(mutex);
    switch (opcode)
    {
    case vst2::audioMasterVersion:
        return answers.version;
    case vst2::audioMasterCurrentId:
        return answers.current_id;
    case vst2::audioMasterPinConnected:
    {
        const std::set<vst2::VstInt32>& disconnected =
            value == 0 ? answers.disconnected_inputs : answers.disconnected_outputs;
        return disconnected.count(index) != 0 ? 1 : 0;
    }
    case vst2::audioMasterWantMidi:
    case vst2::audioMasterIOChanged:
    case vst2::audioMasterUpdateDisplay:
    case vst2::audioMasterBeginEdit:
    case vst2::audioMasterEndEdit:
        return 1;
    case vst2::audioMasterGetTime:
        return answer_time(value);
    case vst2::audioMasterProcessEvents:
        receive_events(static_cast<const vst2::VstEvents*>(ptr));
        return 1;
    case vst2::audioMasterGetParameterQuantization:
        return answers.parameter_quantization;
    case vst2::audioMasterSizeWindow:
        return answers.size_window;
    case vst2::audioMasterGetSampleRate:
        return static_cast<vst2::VstIntPtr>(sample_rate);
    case vst2::audioMasterGetBlockSize:
        return block_size;
    case vst2::audioMasterGetCurrentProcessLevel:
        if (answers.process_level.has_value())
            return *answers.process_level;
        return processing_host == this ? 2 : 1;
    case vst2::audioMasterGetAutomationState:
        return answers.automation_state;
    case vst2::audioMasterGetVendorString:
        return copy_host_text(answers.vendor, ptr);
    case vst2::audioMasterGetProductString:
        return copy_host_text(answers.product, ptr);
    case vst2::audioMasterGetVendorVersion:
        return answers.vendor_version;
    case vst2::audioMasterCanDo:
    {
        const auto found = answers.can_do.find(capability);
        return found != answers.can_do.end() ? found->second : 0;
    }
    case vst2::audioMasterGetDirectory:
        return answers.directory.has_value()
                   ? reinterpret_cast<vst2::VstIntPtr>(answers.directory->c_str())
                   : 0;
    default:
        // audioMasterAutomate among them: recorded above, nothing to answer.
        return 0;
    }
}

// Under the lock. The record stays valid until the next call, as the interface promises.
vst2::VstIntPtr Host::answer_time(vst2::VstIntPtr)
{
    if (answers.time_mode == TimeInfoMode::absent)
        return 0;
    time_info = vst2::VstTimeInfo{};
    time_info.samplePos = sample_pos;
    time_info.sampleRate = sample_rate;
    time_info.timeSigNumerator = 4;
    time_info.timeSigDenominator = 4;
    time_info.flags = vst2::kVstTransportPlaying;
    if (answers.time_mode == TimeInfoMode::with_tempo)
    {
        time_info.tempo = answers.tempo;
        time_info.ppqPos = sample_pos / sample_rate * answers.tempo / 60.0;
        time_info.flags |= vst2::kVstTempoValid | vst2::kVstPpqPosValid | vst2::kVstTimeSigValid;
    }
    return reinterpret_cast<vst2::VstIntPtr>(&time_info);
}

// Under the lock. Copies the events: the list belongs to the plug-in and is gone after the call.
void Host::receive_events(const vst2::VstEvents* list)
{
    if (list == nullptr || list->numEvents <= 0)
        return;
    vst2::VstEvent* const* slots = list->events;
    for (vst2::VstInt32 i = 0; i < list->numEvents; ++i)
    {
        if (slots[i] == nullptr)
            continue;
        vst2::VstEvent event{};
        std::memcpy(&event, slots[i], sizeof(event));
        received_events.push_back(event);
    }
}

} // namespace vst2host
