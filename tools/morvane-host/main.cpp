// morvane-host: renders audio through a VST 2 plug-in from the command line.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <exception>
#include <iostream>

#include "morvane-host/AudioFile.hpp"
#include "morvane-host/Commands.hpp"
#include "morvane-host/DefaultPlugin.hpp"
#include "morvane-host/MidiFile.hpp"
#ifdef MORVANE_HOST_SNAPSHOT
#include "morvane-host/Snapshot.hpp"
#endif
#include "morvane-host/System.hpp"
#include "morvane-host/ToolError.hpp"

using namespace morvane_host;

namespace
{

const char* const exit_codes = "Exit codes: 0 success, 1 usage error (options, parameter names, "
                               "value texts, programs, automation lists), 2 the plug-in cannot be "
                               "loaded, 3 a file cannot be read or written, 4 the plug-in crashed "
                               "or returned audio that is not a number.";

const char* const plugin_help =
    "The VST 2 plug-in library (.so, or .dll on Windows); by default the Morvane plug-in of the "
    "same build, next to morvane-host";

void add_plugin(CLI::App& command, std::string& plugin)
{
    command.add_option("PLUGIN", plugin, plugin_help);
}

} // namespace

int main(int argc, char** argv)
{
    install_crash_guard();

    CLI::App app("morvane-host renders audio through Morvane, or any VST 2 plug-in, as a DAW "
                 "would.\nRun 'morvane-host demo' to hear what Morvane does.",
                 "morvane-host");
    app.allow_windows_style_options(false);
    app.require_subcommand(1);
    app.footer(exit_codes);

    InfoOptions info;
    CLI::App* info_command = app.add_subcommand(
        "info", "Prints the effect record, names, capabilities, parameters and programs");
    add_plugin(*info_command, info.plugin);

    RenderOptions render;
    CLI::App* render_command =
        app.add_subcommand("render", "Renders an audio file, or the demo signal, through the "
                                     "plug-in");
    add_plugin(*render_command, render.plugin);
    render_command->add_option("--in", render.in,
                               "The input audio file, mono or stereo; without it, the built-in "
                               "demo signal");
    render_command->add_option("--out", render.out, "The output audio file")->required();
    render_command->add_option("--program", render.program, "The program to select first");
    render_command
        ->add_option("--set", render.sets,
                     "\"Name=text\": the parameter's value from a text, as typed into a DAW "
                     "(effString2Parameter); repeatable, applied after --program")
        ->allow_extra_args(false);
    render_command
        ->add_option("--automate", render.automations,
                     "\"Name:time=value,...\": normalised values (0 to 1) at times in seconds, "
                     "joined by straight lines and sent with setParameter at block starts; "
                     "repeatable")
        ->allow_extra_args(false);
    render_command
        ->add_option("--rate", render.rate,
                     "The sample rate of the demo signal (default 48000). With --in the file's "
                     "rate is used; a different --rate is refused, as nothing is resampled")
        ->check(CLI::Range(1000, 768000));
    render_command->add_option("--block", render.block, "Frames per block (default 512)")
        ->check(CLI::Range(1, 65536));
    render_command->add_flag("--mono", render.mono,
                             "Connect only the left pins: the input is mixed to mono and the "
                             "output file is mono");
    render_command->add_option("--chunk-in", render.chunk_in,
                               "A bank chunk to restore first (effSetChunk, raw bytes)");
    render_command->add_option("--chunk-out", render.chunk_out,
                               "Where to save the bank chunk after the render (effGetChunk, raw "
                               "bytes)");
    render_command->add_option("--midi", render.midi,
                               "A standard MIDI file whose control changes reach the plug-in as "
                               "events at their sample positions");
    render_command->footer(describe_audio_formats() + "\nMIDI: " + describe_midi_reader() +
                           "\nLatency the plug-in reports is made up for: the output lines up "
                           "with the input and has its length.\n" +
                           exit_codes);

    DemoOptions demo;
    CLI::App* demo_command = app.add_subcommand(
        "demo", "Renders the demo signal through every program into DIR/NN-name.wav and prints "
                "their levels");
    add_plugin(*demo_command, demo.plugin);
    demo_command->add_option("--out", demo.out_dir,
                             "The folder for the files (default ./morvane-demo)");
    demo_command->footer(std::string("The demo signal: 8 seconds of drums, a saw bass line and "
                                     "chords under a sweeping resonant filter, 48 kHz stereo, "
                                     "peak -12 dBFS. Files are 32-bit float WAV.\n") +
                         exit_codes);

    BenchOptions bench;
    CLI::App* bench_command = app.add_subcommand(
        "bench", "Measures the plug-in's real-time factor on the demo signal at 48 kHz stereo, "
                 "blocks of 512");
    add_plugin(*bench_command, bench.plugin);
    bench_command
        ->add_option("--seconds", bench.seconds, "Seconds of audio to process (default 20)")
        ->check(CLI::Range(0.01, 3600.0));
    bench_command->footer(std::string("Compare plug-ins on the same machine: the factor is "
                                      "seconds of audio per second of processing.\n") +
                          exit_codes);

#ifdef MORVANE_HOST_SNAPSHOT
    SnapshotOptions snapshot;
    CLI::App* snapshot_command = app.add_subcommand(
        "snapshot", "Opens Morvane's editor in memory and writes what it shows as a PNG picture");
    snapshot_command->add_option("--out", snapshot.out, "The picture (default editor.png)");
    snapshot_command->add_option("--program", snapshot.program, "The program to show, from 0")
        ->check(CLI::NonNegativeNumber);
    snapshot_command->add_option("--set", snapshot.sets,
                                 "\"Name=text\": a parameter read from its text, after the "
                                 "program (repeatable)");
    snapshot_command->footer(exit_codes);
#endif

    // CLI11 would only say that a subcommand is required.
    const std::vector<CLI::App*> commands = app.get_subcommands({});
    if (argc > 1 && argv[1][0] != '-' &&
        std::none_of(commands.begin(), commands.end(),
                     [&](const CLI::App* command) { return command->get_name() == argv[1]; }))
    {
        std::cerr << "morvane-host: there is no subcommand \"" << argv[1]
                  << "\": use info, render, demo, bench or snapshot (see morvane-host --help)\n";
        return static_cast<int>(ExitCode::usage);
    }
    try
    {
        app.parse(argc, argv);
    }
    catch (const CLI::CallForHelp& help)
    {
        return app.exit(help);
    }
    catch (const CLI::CallForAllHelp& help)
    {
        return app.exit(help);
    }
    catch (const CLI::ParseError& error)
    {
        std::cerr << "morvane-host: " << error.what() << " (see morvane-host --help)\n";
        return static_cast<int>(ExitCode::usage);
    }

    try
    {
        for (auto [command, plugin] : {std::pair{info_command, &info.plugin},
                                       {render_command, &render.plugin},
                                       {demo_command, &demo.plugin},
                                       {bench_command, &bench.plugin}})
        {
            if (*command && plugin->empty())
                *plugin = find_default_plugin();
        }
        if (*info_command)
            run_info(info, std::cout);
        else if (*render_command)
            run_render(render, std::cout);
        else if (*demo_command)
            run_demo(demo, std::cout);
        else if (*bench_command)
            run_bench(bench, std::cout);
#ifdef MORVANE_HOST_SNAPSHOT
        else if (*snapshot_command)
            run_snapshot(snapshot, std::cout);
#endif
    }
    catch (const ToolError& error)
    {
        std::cout.flush();
        std::cerr << "morvane-host: " << error.what() << '\n';
        return static_cast<int>(error.get_code());
    }
    catch (const std::exception& error)
    {
        std::cout.flush();
        std::cerr << "morvane-host: failed: " << error.what() << '\n';
        return static_cast<int>(ExitCode::plugin_failure);
    }
    return static_cast<int>(ExitCode::success);
}
