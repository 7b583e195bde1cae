#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "morvane-host/AudioData.hpp"
#include "morvane-host/MidiFile.hpp"
#include "morvane-host/ParameterEdits.hpp"
#include "vst2host/Host.hpp"

namespace morvane_host
{

// How a render drives the effect, beyond the audio that goes in.
struct RenderPlan
{
    int block = 512;
    // Only the left pins connected: the right input and output are reported unconnected, the
    // input is mixed down to one channel and the output is the left channel.
    bool mono = false;
    std::optional<std::vector<unsigned char>> bank_chunk;
    std::optional<int> program;
    std::vector<ParameterText> texts;
    std::vector<AutomationLane> lanes;
    std::vector<ControllerEvent> midi;
};

// One effect of a plug-in library, driven the way a DAW drives it for an offline render. Every
// call runs on the caller's thread, which plays both the DAW's user-interface thread and its audio
// thread. Failures throw ToolError.
class Renderer
{
public:
    using Progress = std::function<void(double fraction)>;

    // Loads the library and builds the effect; ExitCode::plugin_load when it is not a VST 2 effect
    // that processes with processReplacing.
    explicit Renderer(const std::string& plugin_path);
    // An effect built in this process through its entry; name stands for the path in messages.
    Renderer(vst2::PluginEntryProc entry, const std::string& name);
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    vst2host::Host& use_host() noexcept { return host; }
    const vst2::AEffect& use_effect() const noexcept { return *host.use_effect(); }

    // Opens the effect at the rate with the plan's block size and pins, then restores the plan's
    // state in the order a DAW restores a project: the bank chunk, the program, the parameter
    // texts. Unknown names, refused texts, a program out of range or a refused chunk throw before
    // any audio is processed.
    void prepare(int rate, const RenderPlan& plan);

    // Runs the input through the prepared effect in blocks: the automation lanes are applied with
    // setParameter at each block start, the MIDI controllers arrive as events at their frames
    // within the blocks, and the effect's latency is made up for, so that the output lines up with
    // the input and has its length. The output has one channel for a mono plan, else up to two.
    // A sample that is not a finite number ends the render with ExitCode::plugin_failure.
    AudioData render(const AudioData& input, const RenderPlan& plan, const Progress& progress = {});

    // effGetChunk of the whole bank, asked whether or not the effect announces chunks;
    // ExitCode::plugin_failure when it gives none.
    std::vector<unsigned char> save_bank_chunk();

    // The index of the parameter of that name: exact, else ignoring letter case. ExitCode::usage
    // naming the parameters there are when there is none.
    int find_parameter(const std::string& name);

private:
    void check_effect(const std::string& plugin_path);
    vst2host::Host host;
    std::string path;
    int rate = 0;
};

} // namespace morvane_host
