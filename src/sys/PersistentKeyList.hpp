#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace sys
{

// A key of the current user's registry below "Software", open for reading and writing string
// values. The path names the key below "Software" with components separated by '/'; empty
// components are skipped, so "Tarvex/Morvane/" names Software\Tarvex\Morvane.
//
// On Windows this is the registry itself. Elsewhere every key of the user lives in one text file
// of the key-tree format, $XDG_CONFIG_HOME/Tarvex/registry.txt (~/.config when the variable is
// unset), which every plug-in instance of every process reads and writes safely at once.
//
// Each call reaches the registry or the disk: never on the audio thread.
class PersistentKeyList
{
public:
    // The longest value, in bytes, that set_string() stores and get_string() reads.
    static constexpr std::size_t max_value_len = 1023;

    // Opens the key, creating what is missing when create is true. Throws std::runtime_error
    // "sys::PersistentKeyList::PersistentKeyList () : Cannot open path." when "Software" or a
    // component cannot be opened (with create false: does not exist), and
    // "sys::PersistentKeyList::PersistentKeyList () : Cannot create path." when a component
    // cannot be created.
    PersistentKeyList(const std::string& path, bool create);
    ~PersistentKeyList();
    PersistentKeyList(const PersistentKeyList&) = delete;
    PersistentKeyList& operator=(const PersistentKeyList&) = delete;

    // Stores value as a string value named name. Returns 0, or -1 when value is longer than
    // max_value_len, holds a NUL character, or cannot be stored; nothing is changed then.
    int set_string(const std::string& name, const std::string& value);
    // Reads the string value named name. Returns 0, or -1 with value emptied when there is no
    // such string value, it is longer than max_value_len, or it cannot be read.
    int get_string(const std::string& name, std::string& value) const;

private:
    struct Data;
    std::unique_ptr<Data> data;
};

} // namespace sys
