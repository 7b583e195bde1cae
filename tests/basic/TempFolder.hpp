#pragma once

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>

namespace test
{

// A folder of the running test's own, deleted with the object, with helpers to put files in it
// and read them back as bytes.
class TempFolder
{
public:
    TempFolder()
    {
        std::random_device random;
        do
        {
            folder = std::filesystem::temp_directory_path() /
                     ("morvane_test_" + std::to_string(random()) + std::to_string(random()));
        } while (!std::filesystem::create_directory(folder));
    }
    // What a test made read-only goes as well.
    ~TempFolder()
    {
        std::error_code err;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, err))
        {
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, err);
        }
        std::filesystem::remove_all(folder, err);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string path(const std::string& name) const { return (folder / name).string(); }

    // The names of what the folder holds.
    std::set<std::string> list() const
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
        {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    // Everything the folder holds, at any depth: the bytes of each file, and "(folder)" for each
    // folder.
    std::map<std::string, std::string> contents() const
    {
        std::map<std::string, std::string> found;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        {
            found[entry.path().lexically_relative(folder).generic_string()] =
                entry.is_directory() ? "(folder)" : read(entry.path().string());
        }
        return found;
    }

    static std::string read(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    static void write(const std::string& file, const std::string& text)
    {
        std::ofstream(file, std::ios::binary) << text;
    }

private:
    std::filesystem::path folder;
};

} // namespace test
