#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>

namespace test
{

// A temporary folder that is the whole PATH while the object lives, so that only the fake
// desktop programs a test puts there answer, never those installed on the machine.
class ProgramFolder
{
public:
    ProgramFolder()
    {
        std::string pattern = std::filesystem::temp_directory_path() / "morvane_bin_XXXXXX";
        if (::mkdtemp(pattern.data()) != nullptr)
        {
            folder_ = pattern;
        }
        const char* path = std::getenv("PATH");
        saved_path_ = path != nullptr ? path : "";
        ::setenv("PATH", folder_.c_str(), 1);
    }
    ~ProgramFolder()
    {
        ::setenv("PATH", saved_path_.c_str(), 1);
        std::filesystem::remove_all(folder_);
    }
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    // Empty when the folder could not be made.
    const std::string& path() const { return folder_; }
    // An executable shell script of that name.
    void add_script(const std::string& name, const std::string& body) const
    {
        const std::string script = folder_ + "/" + name;
        std::ofstream(script) << "#!/bin/sh\n" << body;
        ::chmod(script.c_str(), 0755);
    }

private:
    std::string folder_;
    std::string saved_path_;
};

} // namespace test
