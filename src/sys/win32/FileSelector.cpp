#include "sys/FileSelector.hpp"

#include <windows.h>

#include <algorithm>
#include <commdlg.h>
#include <cstring>

#include "sys/win32/OwnerWindow.hpp"

namespace sys
{

namespace
{

// The file name buffer holds names of up to this many characters.
constexpr std::size_t max_file_name_len = 1023;

// Where the name starts in path. In double-byte code pages a trail byte can equal '\', so the
// bytes are walked character by character.
std::size_t find_name_start(const std::string& path)
{
    std::size_t start = 0;
    for (std::size_t pos = 0; pos < path.size(); ++pos)
    {
        const char c = path[pos];
        if (c == '\\' || c == '/' || c == ':')
        {
            start = pos + 1;
        }
        else if (::IsDBCSLeadByte(static_cast<BYTE>(c)))
        {
            ++pos;
        }
    }
    return std::min(start, path.size());
}

// The filter list of the dialog: description and patterns of each filter, each ended by a NUL,
// and a final NUL. The dialog separates patterns with ';'.
std::string make_filter_text(const FileSelectorInterface& sel)
{
    std::string text;
    for (int index = 0; index < sel.get_nbr_filters(); ++index)
    {
        const FileSelectorInterface::Filter& filter = sel.use_filter(index);
        std::string patterns = filter.second;
        std::replace(patterns.begin(), patterns.end(), ',', ';');
        text += filter.first;
        text += '\0';
        text += patterns;
        text += '\0';
    }
    text += '\0';
    return text;
}

int run_dialog(FileSelectorInterface& sel, bool save)
{
    const std::string& path = sel.get_path();
    const std::size_t name_start = find_name_start(path);
    const std::string folder = path.substr(0, name_start);
    const std::string name = path.substr(name_start, max_file_name_len);

    char file[max_file_name_len + 1] = {};
    std::memcpy(file, name.c_str(), name.size() + 1);
    const std::string filter_text = make_filter_text(sel);
    const int filter_index = sel.get_filter_index();

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = win32::find_owner_window();
    ofn.lpstrFilter = sel.get_nbr_filters() > 0 ? filter_text.c_str() : nullptr;
    ofn.nFilterIndex =
        filter_index >= 0 && filter_index < sel.get_nbr_filters() ? DWORD(filter_index) + 1 : 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof(file);
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrTitle = sel.get_title().empty() ? nullptr : sel.get_title().c_str();
    ofn.Flags =
        OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_LONGNAMES | OFN_ENABLESIZING;

    const BOOL chosen = save ? ::GetSaveFileNameA(&ofn) : ::GetOpenFileNameA(&ofn);
    if (!chosen)
    {
        return ::CommDlgExtendedError() == 0 ? FileSelectorInterface::res_cancelled
                                             : FileSelectorInterface::res_failed;
    }
    sel.set_path(file);
    if (ofn.nFilterIndex > 0 && sel.get_nbr_filters() > 0)
    {
        sel.set_filter_index(static_cast<int>(ofn.nFilterIndex) - 1);
    }
    return FileSelectorInterface::res_chosen;
}

} // namespace

int FileSelector::select_load()
{
    return run_dialog(*this, false);
}

int FileSelector::select_save()
{
    return run_dialog(*this, true);
}

} // namespace sys
