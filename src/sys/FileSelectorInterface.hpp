#pragma once

#include <string>
#include <utility>
#include <vector>

namespace sys
{

// A file dialog: its title, the current file, the file type filters and the chosen one. The
// dialog starts in the folder of the current file with its name filled in, and a chosen file
// becomes the current one, so the next dialog starts there. Modal, user-interface thread only.
class FileSelectorInterface
{
public:
    // Results of select_load() and select_save().
    static constexpr int res_chosen = 0;
    static constexpr int res_cancelled = 1;
    static constexpr int res_failed = -1024;

    // The text shown for a filter, and its patterns separated by ',' or ';' ("*.wav,*.aif").
    using Filter = std::pair<std::string, std::string>;

    virtual ~FileSelectorInterface() = default;

    // Show the dialog for a file to read (resp. to write). res_chosen: get_path() is the chosen
    // file and the chosen filter is current; res_cancelled: the user closed the dialog;
    // res_failed: no dialog could be shown.
    virtual int select_load() = 0;
    virtual int select_save() = 0;

    void set_title(const std::string& new_title) { title = new_title; }
    const std::string& get_title() const { return title; }
    void set_path(const std::string& new_path) { path = new_path; }
    const std::string& get_path() const { return path; }

    void clear_filter_list() { filter_arr.clear(); }
    void add_filter(const std::string& desc, const std::string& patterns)
    {
        filter_arr.emplace_back(desc, patterns);
    }
    int get_nbr_filters() const { return static_cast<int>(filter_arr.size()); }
    // Throws std::out_of_range for an index outside [0, get_nbr_filters()).
    const Filter& use_filter(int index) const { return filter_arr.at(index); }
    // 0-based.
    void set_filter_index(int index) { filter_index = index; }
    int get_filter_index() const { return filter_index; }

protected:
    FileSelectorInterface() = default;
    FileSelectorInterface(const FileSelectorInterface&) = default;
    FileSelectorInterface& operator=(const FileSelectorInterface&) = default;

private:
    std::string path;
    std::string title;
    std::vector<Filter> filter_arr;
    int filter_index = 0;
};

} // namespace sys
