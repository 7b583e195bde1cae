#pragma once

#include <filesystem>
#include <fstream>
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
    ~TempFolder()
    {
        std::error_code err;
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
