#include "morvane-host/Commands.hpp"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "morvane-host/AudioFile.hpp"
#include "morvane-host/DemoSignal.hpp"
#include "morvane-host/FileBytes.hpp"
#include "morvane-host/InfoReport.hpp"
#include "morvane-host/MidiFile.hpp"
#include "morvane-host/ProgressBar.hpp"
#include "morvane-host/Renderer.hpp"
#include "morvane-host/System.hpp"
#include "morvane-host/ToolError.hpp"
#include "morvane-host/WavCodec.hpp"

namespace morvane_host
{

namespace
{

constexpr int bench_block = 512;

std::string format_level(double dbfs)
{
    if (!std::isfinite(dbfs))
        return "-inf";
    char text[32];
    std::snprintf(text, sizeof(text), "%.1f", dbfs);
    return text;
}

std::string pad_right(const std::string& text, std::size_t width)
{
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

std::string pad_left(const std::string& text, std::size_t width)
{
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

AudioData read_input(const RenderOptions& options)
{
    if (options.in.empty())
        return make_demo_signal(options.rate.value_or(default_rate));
    AudioData input = read_audio_file(options.in);
    if (input.channels.size() > 2)
        throw ToolError(ExitCode::file, options.in + ": it has " +
                                            std::to_string(input.channels.size()) +
                                            " channels; morvane-host renders mono and stereo");
    if (options.rate && *options.rate != input.rate)
        throw ToolError(ExitCode::usage,
                        "--rate " + std::to_string(*options.rate) + " differs from the rate of " +
                            options.in + " (" + std::to_string(input.rate) +
                            " Hz): morvane-host does not resample; leave --rate out to run at the "
                            "file's rate");
    return input;
}

// The demo through one program of a fresh effect, so that every program starts from the same
// state whatever was rendered before it.
struct ProgramRender
{
    int program = 0;
    std::string name;
    AudioData audio;
};

} // namespace

std::string make_file_name(const std::string& name)
{
    std::string safe;
    bool gap = false;
    for (const char c : name)
    {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalnum(u) != 0 && u < 0x80)
        {
            if (gap && !safe.empty())
                safe += '-';
            safe += c;
            gap = false;
        }
        else if ((c == '-' || c == '_') && !safe.empty() && !gap)
            safe += c;
        else
            gap = true;
    }
    while (!safe.empty() && (safe.back() == '-' || safe.back() == '_'))
        safe.pop_back();
    return safe.empty() ? "program" : safe;
}

void run_info(const InfoOptions& options, std::ostream& out)
{
    const std::string path = options.plugin;
    Renderer renderer(path);
    set_crash_activity("opening the effect");
    if (!renderer.use_host().start(static_cast<float>(default_rate), bench_block))
        throw ToolError(ExitCode::plugin_load, path + ": the effect cannot be opened");
    set_crash_activity("answering queries");
    print_info(renderer.use_host(), path, out);
}

void run_render(const RenderOptions& options, std::ostream& out)
{
    RenderPlan plan;
    plan.block = options.block;
    plan.mono = options.mono;
    plan.program = options.program;
    for (const std::string& set : options.sets)
        plan.texts.push_back(parse_parameter_text(set));
    for (const std::string& automation : options.automations)
        plan.lanes.push_back(parse_automation_lane(automation));
    check_audio_file_name(options.out);

    const AudioData input = read_input(options);
    if (!options.midi.empty())
        plan.midi = read_midi_controllers(options.midi);
    if (!options.chunk_in.empty())
        plan.bank_chunk = read_file_bytes(options.chunk_in);

    const std::string path = options.plugin;
    Renderer renderer(path);
    renderer.prepare(input.rate, plan);
    AudioData output;
    {
        ProgressBar bar(std::cerr, is_error_terminal());
        bar.set_label("rendering");
        output = renderer.render(input, plan, [&bar](double fraction) { bar.show(fraction); });
    }
    std::vector<unsigned char> chunk;
    if (!options.chunk_out.empty())
        chunk = renderer.save_bank_chunk();

    write_audio_file(options.out, output);
    if (!options.chunk_out.empty())
        write_file_bytes(options.chunk_out, chunk);
    char seconds[32];
    std::snprintf(seconds, sizeof(seconds), "%.3f", output.get_seconds());
    out << "Rendered " << (options.in.empty() ? "the demo signal" : options.in) << " (" << seconds
        << " s at " << output.rate << " Hz, " << (output.channels.size() == 1 ? "mono" : "stereo")
        << ") through " << renderer.use_host().get_effect_name() << " into " << options.out
        << ": peak " << format_level(get_peak_dbfs(output)) << " dBFS, RMS "
        << format_level(get_rms_dbfs(output)) << " dBFS\n";
    if (!options.chunk_out.empty())
        out << "Saved the bank chunk (" << chunk.size() << " bytes) into " << options.chunk_out
            << '\n';
}

void run_demo(const DemoOptions& options, std::ostream& out)
{
    std::error_code error;
    if (std::filesystem::exists(options.out_dir, error) &&
        !std::filesystem::is_directory(options.out_dir, error))
        throw ToolError(ExitCode::file,
                        options.out_dir + ": cannot make the folder: a file has that name");
    const std::string path = options.plugin;
    const AudioData input = make_demo_signal(default_rate);

    std::vector<ProgramRender> renders;
    int count = 1;
    {
        ProgressBar bar(std::cerr, is_error_terminal());
        for (int program = 0; program < count; ++program)
        {
            Renderer renderer(path);
            count = std::max(renderer.use_effect().numPrograms, 1);
            RenderPlan plan;
            if (renderer.use_effect().numPrograms > 0)
                plan.program = program;
            renderer.prepare(input.rate, plan);
            ProgramRender render;
            render.program = program;
            render.name = plan.program ? read_program_name(renderer.use_host(), program)
                                       : renderer.use_host().get_program_name();
            bar.set_label("program " + std::to_string(program + 1) + "/" + std::to_string(count));
            render.audio = renderer.render(input, plan, [&bar](double f) { bar.show(f); });
            renders.push_back(std::move(render));
        }
    }

    std::filesystem::create_directories(options.out_dir, error);
    if (error || !std::filesystem::is_directory(options.out_dir))
        throw ToolError(ExitCode::file, options.out_dir + ": cannot make the folder" +
                                            (error ? ": " + error.message() : std::string()));
    std::size_t name_width = 4;
    for (const ProgramRender& render : renders)
        name_width = std::max(name_width, render.name.size());
    out << "Demo signal (" << demo_seconds << " s, " << input.rate << " Hz, stereo, peak "
        << format_level(get_peak_dbfs(input)) << " dBFS) through " << path << "\n\n";
    out << "program  " << pad_right("name", name_width) << "  peak dBFS  RMS dBFS  file\n";
    for (const ProgramRender& render : renders)
    {
        char number[8];
        std::snprintf(number, sizeof(number), "%02d", render.program);
        const std::string file =
            (std::filesystem::path(options.out_dir) /
             (std::string(number) + "-" + make_file_name(render.name) + ".wav"))
                .string();
        write_file_bytes(file, encode_wav(render.audio, WavSampleFormat::float32));
        out << pad_left(std::to_string(render.program), 7) << "  "
            << pad_right(render.name, name_width) << "  "
            << pad_left(format_level(get_peak_dbfs(render.audio)), 9) << "  "
            << pad_left(format_level(get_rms_dbfs(render.audio)), 8) << "  " << file << '\n';
    }
}

void run_bench(const BenchOptions& options, std::ostream& out)
{
    using Clock = std::chrono::steady_clock;
    const std::string path = options.plugin;
    const AudioData input = make_demo_signal(default_rate);
    Renderer renderer(path);
    RenderPlan plan;
    plan.block = bench_block;
    renderer.prepare(input.rate, plan);

    std::vector<float> left(bench_block), right(bench_block);
    std::vector<float> out_left(bench_block), out_right(bench_block);
    float* inputs[] = {left.data(), right.data()};
    float* outputs[] = {out_left.data(), out_right.data()};
    const std::size_t length = input.get_frames();
    std::size_t position = 0;
    auto next_block = [&]()
    {
        for (std::size_t i = 0; i < left.size(); ++i, position = (position + 1) % length)
        {
            left[i] = input.channels[0][position];
            right[i] = input.channels[1][position];
        }
    };

    vst2host::Host& host = renderer.use_host();
    set_crash_activity("processing audio");
    host.dispatch(vst2::effStartProcess);
    // A second to settle caches and any lazy set-up, not counted.
    for (int b = 0; b < default_rate / bench_block; ++b)
    {
        next_block();
        host.process(inputs, outputs, bench_block);
    }
    const auto blocks = static_cast<long long>(
        std::ceil(options.seconds * default_rate / static_cast<double>(bench_block)));
    Clock::duration total{}, slowest{};
    ProgressBar bar(std::cerr, is_error_terminal());
    bar.set_label("measuring");
    for (long long b = 0; b < blocks; ++b)
    {
        next_block();
        const Clock::time_point start = Clock::now();
        host.process(inputs, outputs, bench_block);
        const Clock::duration spent = Clock::now() - start;
        total += spent;
        slowest = std::max(slowest, spent);
        bar.show(static_cast<double>(b + 1) / static_cast<double>(blocks));
    }
    bar.finish();
    host.dispatch(vst2::effStopProcess);
    set_crash_activity("answering the host");

    const double audio_seconds = static_cast<double>(blocks) * bench_block / default_rate;
    const double spent_seconds = std::chrono::duration<double>(total).count();
    const double budget_us = 1e6 * bench_block / default_rate;
    const double per_block_us = 1e6 * spent_seconds / static_cast<double>(blocks);
    char line[160];
    out << "Plug-in          " << path << " (" << host.get_effect_name() << ")\n";
    std::snprintf(line, sizeof(line), "%.1f s of the demo signal at %d Hz, stereo, blocks of %d",
                  audio_seconds, default_rate, bench_block);
    out << "Audio            " << line << '\n';
    std::snprintf(line, sizeof(line), "%.3f s", spent_seconds);
    out << "Processing time  " << line << '\n';
    std::snprintf(line, sizeof(line), "%.1f",
                  spent_seconds > 0.0 ? audio_seconds / spent_seconds : 0.0);
    out << "Real-time factor " << line << '\n';
    std::snprintf(line, sizeof(line),
                  "%.1f us on average, %.1f us at most (real time allows %.1f us)", per_block_us,
                  std::chrono::duration<double, std::micro>(slowest).count(), budget_us);
    out << "Time per block   " << line << '\n';
}

} // namespace morvane_host
