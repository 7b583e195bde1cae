#include "basic/TextFile.hpp"

#include <cstdio>
#include <memory>

#include "basic/ConfErr.hpp"
#include "basic/FileWriter.hpp"

namespace basic
{

int read_text_file(const std::string& path, std::string& text)
{
    text.clear();
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    if (file == nullptr)
    {
        return conf_err::file_open_read_failed;
    }

    char buffer[16384];
    std::size_t len = 0;
    while ((len = std::fread(buffer, 1, sizeof(buffer), file.get())) > 0)
    {
        if (text.size() + len > max_text_file_size)
        {
            text.clear();
            return conf_err::file_open_read_failed;
        }
        text.append(buffer, len);
    }
    // A folder opens on some systems and only fails when read.
    if (std::ferror(file.get()) != 0)
    {
        text.clear();
        return conf_err::file_open_read_failed;
    }

    if (!text.empty() && text.back() != '\n')
    {
        text += '\n';
    }
    return conf_err::ok;
}

int write_text_file_atomic(const std::string& path, const std::string& text)
{
    FileWriter file(path);
    file.write(text.data(), text.size());
    const FileWriter::Step failed = file.commit();
    if (failed == FileWriter::Step::none)
    {
        return conf_err::ok;
    }
    return failed == FileWriter::Step::write ? conf_err::file_write_failed
                                             : conf_err::file_open_write_failed;
}

} // namespace basic
