#include "sys/PersistentKeyList.hpp"

#include <windows.h>

#include <stdexcept>
#include <vector>

namespace sys
{

namespace
{

// Closes the handles in the reverse order of opening.
void close_all(std::vector<HKEY>& handles)
{
    while (!handles.empty())
    {
        ::RegCloseKey(handles.back());
        handles.pop_back();
    }
}

} // namespace

struct PersistentKeyList::Data
{
    // "Software" first, then one handle per path component; the last one is the key in use.
    std::vector<HKEY> handles;
};

PersistentKeyList::PersistentKeyList(const std::string& path, bool create)
    : data(std::make_unique<Data>())
{
    std::vector<HKEY>& handles = data->handles;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ | KEY_WRITE, &key) !=
        ERROR_SUCCESS)
    {
        throw std::runtime_error(
            "sys::PersistentKeyList::PersistentKeyList () : Cannot open path.");
    }
    handles.push_back(key);

    std::string::size_type start = 0;
    while (start <= path.size())
    {
        std::string::size_type end = path.find('/', start);
        if (end == std::string::npos)
        {
            end = path.size();
        }
        if (end > start)
        {
            const std::string component = path.substr(start, end - start);
            if (create)
            {
                if (::RegCreateKeyExA(handles.back(), component.c_str(), 0, nullptr,
                                      REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr, &key,
                                      nullptr) != ERROR_SUCCESS)
                {
                    close_all(handles);
                    throw std::runtime_error(
                        "sys::PersistentKeyList::PersistentKeyList () : Cannot create path.");
                }
            }
            else if (::RegOpenKeyExA(handles.back(), component.c_str(), 0, KEY_READ | KEY_WRITE,
                                     &key) != ERROR_SUCCESS)
            {
                close_all(handles);
                throw std::runtime_error(
                    "sys::PersistentKeyList::PersistentKeyList () : Cannot open path.");
            }
            handles.push_back(key);
        }
        start = end + 1;
    }
}

PersistentKeyList::~PersistentKeyList()
{
    close_all(data->handles);
}

int PersistentKeyList::set_string(const std::string& name, const std::string& value)
{
    if (value.size() > max_value_len || value.find('\0') != std::string::npos)
    {
        return -1;
    }
    // The size counts the terminating NUL.
    const LSTATUS res = ::RegSetValueExA(data->handles.back(), name.c_str(), 0, REG_SZ,
                                         reinterpret_cast<const BYTE*>(value.c_str()),
                                         static_cast<DWORD>(value.size() + 1));
    return res == ERROR_SUCCESS ? 0 : -1;
}

int PersistentKeyList::get_string(const std::string& name, std::string& value) const
{
    value.clear();
    // Room for the longest value that set_string() stores, with its terminating NUL, so that
    // everything written reads back.
    char buffer[max_value_len + 1];
    DWORD type = 0;
    DWORD size = sizeof(buffer);
    const LSTATUS res = ::RegQueryValueExA(data->handles.back(), name.c_str(), nullptr, &type,
                                           reinterpret_cast<BYTE*>(buffer), &size);
    if (res != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
    {
        return -1;
    }
    // Values stored by other programs may lack the terminating NUL.
    std::string read(buffer, size);
    const std::string::size_type nul = read.find('\0');
    if (nul != std::string::npos)
    {
        read.resize(nul);
    }
    if (read.size() > max_value_len)
    {
        return -1;
    }
    value = read;
    return 0;
}

} // namespace sys
