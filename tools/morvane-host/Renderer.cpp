#include "morvane-host/Renderer.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>

#include "kel/NoCase.hpp"
#include "morvane-host/System.hpp"
#include "morvane-host/ToolError.hpp"
#include "vst2host/MidiEventList.hpp"

namespace morvane_host
{

namespace
{

// A latency beyond this is not believed: a plug-in's own figure, capped to keep the render sane.
constexpr int max_latency_seconds = 10;

std::string format_seconds(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof(text), "%.3f s", seconds);
    return text;
}

} // namespace

Renderer::Renderer(const std::string& plugin_path)
    : path(plugin_path)
{
    set_crash_activity("loading the plug-in");
    if (!host.load(plugin_path))
        throw ToolError(ExitCode::plugin_load, host.get_error());
    check_effect(plugin_path);
}

Renderer::Renderer(vst2::PluginEntryProc entry, const std::string& name)
    : path(name)
{
    set_crash_activity("building the effect");
    if (!host.load_entry(entry))
        throw ToolError(ExitCode::plugin_load, host.get_error());
    check_effect(name);
}

void Renderer::check_effect(const std::string& plugin_path)
{
    const vst2::AEffect& effect = use_effect();
    if (effect.processReplacing == nullptr || (effect.flags & vst2::effFlagsCanReplacing) == 0)
        throw ToolError(ExitCode::plugin_load,
                        plugin_path + ": the effect offers no processReplacing, which morvane-host "
                                      "renders with");
    if (effect.numOutputs < 1)
        throw ToolError(ExitCode::plugin_load, plugin_path + ": the effect has no outputs");
    set_crash_activity("answering the host");
}

Renderer::~Renderer()
{
    set_crash_activity("closing the effect");
    host.stop();
    set_crash_activity("unloading the plug-in");
}

int Renderer::find_parameter(const std::string& name)
{
    const int count = use_effect().numParams;
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back(host.get_param_name(i));
    for (int i = 0; i < count; ++i)
    {
        if (names[static_cast<std::size_t>(i)] == name)
            return i;
    }
    for (int i = 0; i < count; ++i)
    {
        if (kel::equals_no_case(names[static_cast<std::size_t>(i)], name))
            return i;
    }
    std::string known;
    for (const std::string& each : names)
    {
        known += known.empty() ? "\"" : ", \"";
        known += each;
        known += '"';
    }
    throw ToolError(ExitCode::usage,
                    "the plug-in has no parameter \"" + name + "\"" +
                        (known.empty() ? " (it has none)" : " (it has " + known + ")"));
}

void Renderer::prepare(int sample_rate, const RenderPlan& plan)
{
    const vst2::AEffect& effect = use_effect();
    if (plan.mono && effect.numInputs < 1)
        throw ToolError(ExitCode::usage, "--mono: the effect has no input");
    // Only what the plan names gets through, so it is all checked before the effect starts.
    std::vector<int> text_indices;
    for (const ParameterText& text : plan.texts)
        text_indices.push_back(find_parameter(text.name));
    for (const AutomationLane& lane : plan.lanes)
        find_parameter(lane.name);
    if (plan.program && (*plan.program < 0 || *plan.program >= effect.numPrograms))
        throw ToolError(ExitCode::usage,
                        "--program " + std::to_string(*plan.program) + " is out of range: " +
                            (effect.numPrograms > 0 ? "the plug-in has programs 0 to " +
                                                          std::to_string(effect.numPrograms - 1)
                                                    : std::string("the plug-in has no programs")));

    // The pins are answered when the effect asks, at the latest when it resumes.
    host.set_input_connected(1, !plan.mono);
    host.set_output_connected(1, !plan.mono);
    set_crash_activity("opening the effect");
    rate = sample_rate;
    if (!host.start(static_cast<float>(sample_rate), plan.block))
        throw ToolError(ExitCode::plugin_load, path + ": the effect cannot be opened");
    host.suspend();

    if (plan.bank_chunk)
    {
        set_crash_activity("restoring the bank chunk");
        // Asked also of effects that do not announce chunks: they may still take them.
        if (host.set_chunk(*plan.bank_chunk, false) == 0)
            throw ToolError(ExitCode::file, "--chunk-in: the plug-in refuses the chunk");
    }
    if (plan.program)
    {
        set_crash_activity("changing the program");
        host.set_program(*plan.program);
    }
    set_crash_activity("reading parameter texts");
    for (std::size_t i = 0; i < plan.texts.size(); ++i)
    {
        const ParameterText& text = plan.texts[i];
        if (!host.string_to_parameter(text_indices[i], text.text))
            throw ToolError(ExitCode::usage, "--set: the plug-in refuses \"" + text.text +
                                                 "\" for \"" + text.name + "\"");
    }
    set_crash_activity("resuming the effect");
    host.resume();
    set_crash_activity("answering the host");
}

AudioData Renderer::render(const AudioData& input, const RenderPlan& plan, const Progress& progress)
{
    const vst2::AEffect& effect = use_effect();
    const std::size_t frames = input.get_frames();
    const auto block = static_cast<std::size_t>(plan.block);
    const std::size_t latency =
        static_cast<std::size_t>(std::clamp(effect.initialDelay, 0, max_latency_seconds * rate));
    const std::size_t total = frames + latency;

    // The inputs the effect gets: mono plans mix the file down, a mono file feeds both sides.
    const std::size_t in_count = plan.mono ? 1 : 2;
    const std::size_t out_count =
        plan.mono ? 1 : std::min<std::size_t>(2, static_cast<std::size_t>(effect.numOutputs));
    std::vector<std::vector<float>> in_blocks(in_count, std::vector<float>(block));
    std::vector<std::vector<float>> out_blocks(out_count, std::vector<float>(block));
    std::vector<float*> in_pointers(2, nullptr), out_pointers(2, nullptr);
    for (std::size_t c = 0; c < in_count; ++c)
        in_pointers[c] = in_blocks[c].data();
    for (std::size_t c = 0; c < out_count; ++c)
        out_pointers[c] = out_blocks[c].data();

    std::vector<int> lane_indices;
    for (const AutomationLane& lane : plan.lanes)
        lane_indices.push_back(find_parameter(lane.name));
    std::vector<float> lane_sent(plan.lanes.size(), -1.0f);

    // Events beyond the input are not played; the list holds the fullest block's events.
    std::vector<std::pair<std::size_t, const ControllerEvent*>> events;
    std::size_t most_in_block = 0, in_block = 0, current_block = 0;
    for (const ControllerEvent& event : plan.midi)
    {
        const double position = std::floor(event.seconds * rate + 0.5);
        if (!(position >= 0.0) || position >= static_cast<double>(frames))
            continue;
        const auto frame = static_cast<std::size_t>(position);
        in_block = frame / block == current_block ? in_block + 1 : 1;
        current_block = frame / block;
        most_in_block = std::max(most_in_block, in_block);
        events.emplace_back(frame, &event);
    }
    if (events.size() < plan.midi.size())
        std::cerr << "morvane-host: note: " << plan.midi.size() - events.size()
                  << " controller events after the end of the input are not played\n";
    vst2host::MidiEventList list(std::max<std::size_t>(most_in_block, 1));
    std::size_t next_event = 0;

    AudioData output;
    output.rate = input.rate;
    output.channels.assign(out_count, std::vector<float>(frames));

    set_crash_activity("starting to process");
    host.dispatch(vst2::effStartProcess);
    for (std::size_t start = 0; start < total; start += block)
    {
        const std::size_t count = std::min(block, total - start);
        for (std::size_t i = 0; i < count; ++i)
        {
            const std::size_t frame = start + i;
            float left = 0.0f, right = 0.0f;
            if (frame < frames)
            {
                left = input.channels[0][frame];
                right = input.channels.size() > 1 ? input.channels[1][frame] : left;
            }
            if (plan.mono)
                in_blocks[0][i] = input.channels.size() > 1 ? 0.5f * (left + right) : left;
            else
            {
                in_blocks[0][i] = left;
                in_blocks[1][i] = right;
            }
        }

        set_crash_activity("changing parameters");
        const double seconds = static_cast<double>(start) / rate;
        for (std::size_t l = 0; l < plan.lanes.size(); ++l)
        {
            const float value = plan.lanes[l].get_value(seconds);
            if (value != lane_sent[l])
            {
                host.set_parameter(lane_indices[l], value);
                lane_sent[l] = value;
            }
        }

        list.clear();
        while (next_event < events.size() && events[next_event].first < start + count)
        {
            const auto& [frame, event] = events[next_event++];
            list.add(static_cast<vst2::VstInt32>(frame - start), event->status, event->controller,
                     event->value);
        }
        set_crash_activity("processing audio");
        if (list.size() > 0)
            host.send_events(list);
        host.process(in_pointers, out_pointers, static_cast<vst2::VstInt32>(count));

        for (std::size_t c = 0; c < out_count; ++c)
        {
            for (std::size_t i = 0; i < count; ++i)
            {
                const float sample = out_blocks[c][i];
                if (!std::isfinite(sample))
                    throw ToolError(ExitCode::plugin_failure,
                                    "the plug-in returned a sample that is not a finite number (" +
                                        std::string(std::isnan(sample) ? "NaN" : "infinite") +
                                        ") at " +
                                        format_seconds(static_cast<double>(start + i) / rate) +
                                        " on output " + std::to_string(c));
                const std::size_t frame = start + i;
                if (frame >= latency)
                    output.channels[c][frame - latency] = sample;
            }
        }
        if (progress)
            progress(static_cast<double>(start + count) / static_cast<double>(total));
    }
    set_crash_activity("stopping to process");
    host.dispatch(vst2::effStopProcess);
    set_crash_activity("answering the host");
    return output;
}

std::vector<unsigned char> Renderer::save_bank_chunk()
{
    set_crash_activity("saving the bank chunk");
    std::vector<unsigned char> chunk = host.get_chunk(false);
    set_crash_activity("answering the host");
    if (chunk.empty())
        throw ToolError(ExitCode::plugin_failure, "--chunk-out: the plug-in gives no chunk");
    return chunk;
}

} // namespace morvane_host
