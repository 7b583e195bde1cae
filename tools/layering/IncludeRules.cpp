#include "layering/IncludeRules.hpp"

#include <algorithm>
#include <fstream>
#include <map>
#include <regex>
#include <set>

namespace fs = std::filesystem;

namespace layering
{

namespace
{

// What each part may include besides itself. Anything not listed is refused, so a new arrow
// between parts is a decision made here, not an accident.
const std::map<std::string, std::set<std::string>> allowed = {
    {"kel", {}},
    {"basic", {"kel"}},
    {"sys", {"kel", "basic"}},
    {"ravik", {"kel", "basic", "sys"}},
    {"plux", {"kel", "basic"}},
    {"plux/param", {"kel", "basic", "sys", "ravik", "plux"}},
    {"plux/prog", {"kel", "basic", "sys", "plux"}},
    // The settings meet their clients only as basic::SettingClientInterface.
    {"plux/setting", {"kel", "basic", "sys", "plux"}},
    {"plux/midi", {"kel", "basic", "sys", "ravik", "plux", "plux/param", "plux/setting"}},
    {"plux/preset", {"kel", "basic", "sys", "ravik", "plux", "plux/param", "plux/prog"}},
    // The setup menu reaches both the settings and MIDI, so it lives above both.
    {"plux/setup",
     {"kel", "basic", "sys", "ravik", "plux", "plux/param", "plux/prog", "plux/setting",
      "plux/midi"}},
    {"plux/platform", {"kel", "basic", "sys", "plux", "plux/midi"}},
    // Only the VST 2 binding sees the VST 2 interface.
    {"plux/vst2",
     {"kel", "basic", "sys", "ravik", "plux", "plux/param", "plux/prog", "plux/setting",
      "plux/midi", "plux/preset", "plux/setup", "plux/platform"}},
    {"effect",
     {"kel", "basic", "sys", "ravik", "plux", "plux/param", "plux/prog", "plux/setting",
      "plux/midi", "plux/preset", "plux/setup"}},
};

bool is_platform_folder(const std::string& name)
{
    return name == "win32" || name == "posix" || name == "x11";
}

// Headers that only a platform's own realisation may reach.
bool is_platform_header(const std::string& header)
{
    std::string lower = header;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower == "windows.h" || lower.starts_with("x11/");
}

struct Include
{
    std::string header;
    bool quoted;
};

std::vector<Include> read_includes(const fs::path& file)
{
    static const std::regex include_line(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::vector<Include> includes;
    std::ifstream in(file);
    std::string line;
    std::smatch match;
    while (std::getline(in, line))
    {
        if (std::regex_search(line, match, include_line))
        {
            includes.push_back({match[2].str(), match[1].str() == "\""});
        }
    }
    return includes;
}

bool in_platform_folder(const std::string& path)
{
    const fs::path p(path);
    return std::any_of(p.begin(), p.end(),
                       [](const fs::path& part) { return is_platform_folder(part.string()); });
}

} // namespace

std::string part_of(const std::string& path_in_src)
{
    std::vector<std::string> folders;
    for (const auto& part : fs::path(path_in_src).parent_path())
    {
        folders.push_back(part.string());
    }
    if (folders.empty())
    {
        return std::string();
    }
    if (folders[0] != "plux")
    {
        return folders[0];
    }
    if (folders.size() == 1)
    {
        return "plux";
    }
    return is_platform_folder(folders[1]) ? "plux/platform" : "plux/" + folders[1];
}

std::vector<std::string> check_layering(const fs::path& src_root)
{
    // Every source file with what it includes, by its path inside src/.
    std::map<std::string, std::vector<Include>> files;
    for (const auto& entry : fs::recursive_directory_iterator(src_root))
    {
        const std::string ext = entry.path().extension().string();
        if (entry.is_regular_file() && (ext == ".cpp" || ext == ".hpp" || ext == ".h"))
        {
            files[fs::relative(entry.path(), src_root).generic_string()] =
                read_includes(entry.path());
        }
    }

    std::vector<std::string> problems;
    for (const auto& [file, includes] : files)
    {
        const std::string from = part_of(file);
        const auto rule = allowed.find(from);
        for (const Include& inc : includes)
        {
            if (!inc.quoted || !files.contains(inc.header))
            {
                continue;
            }
            const std::string to = part_of(inc.header);
            if (to == from)
            {
                continue;
            }
            if (rule == allowed.end())
            {
                problems.push_back(file + ": includes " + inc.header + " (" + from +
                                   " is a part without rules)");
            }
            else if (!rule->second.contains(to))
            {
                problems.push_back(file + ": includes " + inc.header + " (" + from +
                                   " may not include " + to + ")");
            }
        }
    }

    // Portable code must build without the platforms' headers: follow the includes of every
    // file outside the platform folders and refuse any path that reaches one.
    for (const auto& [file, ignored] : files)
    {
        if (in_platform_folder(file))
        {
            continue;
        }
        std::vector<std::string> chain = {file};
        std::set<std::string> seen = {file};
        std::vector<std::pair<std::string, std::vector<std::string>>> todo = {{file, chain}};
        while (!todo.empty())
        {
            auto [current, path] = std::move(todo.back());
            todo.pop_back();
            for (const Include& inc : files.at(current))
            {
                if (is_platform_header(inc.header))
                {
                    std::string via;
                    for (std::size_t i = 1; i < path.size(); ++i)
                    {
                        via += (i == 1 ? " via " : " > ") + path[i];
                    }
                    problems.push_back(file + ": reaches <" + inc.header + ">" + via);
                }
                else if (inc.quoted && files.contains(inc.header) && seen.insert(inc.header).second)
                {
                    auto next = path;
                    next.push_back(inc.header);
                    todo.emplace_back(inc.header, std::move(next));
                }
            }
        }
    }
    return problems;
}

} // namespace layering
