#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace morvane_host
{

// The subcommands of morvane-host, once the command line is read and the plug-in's path is
// known. Each writes its report to out
// and its progress to standard error, and throws ToolError on failure; files are written only
// when everything before has succeeded.

struct InfoOptions
{
    std::string plugin;
};

struct RenderOptions
{
    std::string plugin;
    std::string in; // empty: the demo signal
    std::string out;
    std::optional<int> program;
    std::vector<std::string> sets;
    std::vector<std::string> automations;
    std::optional<int> rate; // the demo's rate, or a check of the input file's
    int block = 512;
    bool mono = false;
    std::string chunk_in;
    std::string chunk_out;
    std::string midi;
};

struct DemoOptions
{
    std::string plugin;
    std::string out_dir = "morvane-demo";
};

struct BenchOptions
{
    std::string plugin;
    double seconds = 20.0;
};

// The rate of the demo signal and of bench, and of render without an input file.
constexpr int default_rate = 48000;

void run_info(const InfoOptions& options, std::ostream& out);
void run_render(const RenderOptions& options, std::ostream& out);
void run_demo(const DemoOptions& options, std::ostream& out);
void run_bench(const BenchOptions& options, std::ostream& out);

// A program's name as a file name: letters, digits, '-' and '_' kept, every other run of
// characters a single '-', none at the ends; "program" when nothing is left.
std::string make_file_name(const std::string& name);

} // namespace morvane_host
