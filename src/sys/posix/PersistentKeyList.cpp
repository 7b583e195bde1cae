#include "sys/PersistentKeyList.hpp"

#include <cerrno>
#include <cstdlib>
#include <exception>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <pwd.h>
#include <stdexcept>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

#include "basic/ConfKeyContentMulti.hpp"
#include "basic/ConfKeyContentString.hpp"
#include "basic/ConfKeyData.hpp"
#include "basic/ConfKeyFactory.hpp"
#include "basic/ConfKeyMulti.hpp"
#include "basic/FileWriter.hpp"
#include "basic/TextFile.hpp"

// The store is one key tree: the block "Software" holds a block per key, and each value is a
// leaf. Names and values are kept with '%' and two hexadecimal digits in place of every byte that
// the key-tree text cannot carry (control characters, '"', '=', '{', '}', '/', '\', '%'), so any
// value survives the round trip; an empty value is kept as an empty list, which unlike an empty
// string is written as something.

namespace sys
{

namespace
{

constexpr const char* folder_name = "Tarvex";
constexpr const char* file_name = "registry.txt";
constexpr const char* root_name = "Software";

// Serialises the writers of this process; the lock file serialises those of other processes.
std::mutex write_mutex;

bool needs_escape(unsigned char c)
{
    return c < 0x20 || c == 0x7F || c == '%' || c == '"' || c == '=' || c == '{' || c == '}' ||
           c == '/' || c == '\\';
}

std::string encode(const std::string& text)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char ch : text)
    {
        const auto c = static_cast<unsigned char>(ch);
        if (needs_escape(c))
        {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 0x0F];
        }
        else
        {
            out += ch;
        }
    }
    return out;
}

int hex_digit(char c)
{
    if (c >= '0' && c <= '9')
    {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F')
    {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f')
    {
        return c - 'a' + 10;
    }
    return -1;
}

// The registry's unnamed value gets a name that encode() never produces.
std::string encode_name(const std::string& name)
{
    return name.empty() ? std::string("%") : encode(name);
}

// A '%' that does not start a valid escape (the file was edited by hand) is kept as it is.
std::string decode(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size(); ++pos)
    {
        if (text[pos] == '%' && pos + 2 < text.size() && hex_digit(text[pos + 1]) >= 0 &&
            hex_digit(text[pos + 2]) >= 0)
        {
            out += static_cast<char>(hex_digit(text[pos + 1]) * 16 + hex_digit(text[pos + 2]));
            pos += 2;
        }
        else
        {
            out += text[pos];
        }
    }
    return out;
}

[[noreturn]] void throw_cannot_open()
{
    throw std::runtime_error("sys::PersistentKeyList::PersistentKeyList () : Cannot open path.");
}

// The user's configuration folder: $XDG_CONFIG_HOME when it is an absolute path, else
// ~/.config; empty when the user has no home folder either.
std::string find_config_folder()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/')
    {
        return xdg;
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/')
    {
        return std::string(home) + "/.config";
    }
    std::vector<char> buffer(16384);
    passwd pwd{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &pwd, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr && found->pw_dir[0] == '/')
    {
        return std::string(found->pw_dir) + "/.config";
    }
    return {};
}

// The whole store as the file holds it now; an empty root when there is no file yet. A file
// damaged after some complete keys keeps those. False when the file exists but cannot be read,
// so that a writer never replaces values it could not see.
bool read_store(const std::string& file_path, basic::ConfKeyMulti& root)
{
    root = basic::ConfKeyMulti(root_name);
    std::string text;
    if (basic::read_text_file(file_path, text) != 0)
    {
        return !basic::is_existing_file(file_path);
    }
    try
    {
        const std::unique_ptr<basic::ConfKeyInterface> key =
            basic::ConfKeyFactory::use_instance().create_key_from_string(text);
        if (const auto* multi = dynamic_cast<const basic::ConfKeyMulti*>(key.get()))
        {
            root = *multi;
            root.set_name(root_name);
        }
    }
    catch (const std::exception&)
    {
        // Names are written encoded, so a name with a separator means the file was damaged.
    }
    return true;
}

// The block of the key below root, or null.
const basic::ConfKeyMulti* find_block(const basic::ConfKeyMulti& root,
                                      const std::vector<std::string>& key_path)
{
    const basic::ConfKeyMulti* block = &root;
    for (const std::string& component : key_path)
    {
        const int index = block->find_index_multi(component);
        if (index < 0)
        {
            return nullptr;
        }
        block = static_cast<const basic::ConfKeyMulti*>(&block->use_key_at(index));
    }
    return block;
}

basic::ConfKeyMulti& make_block(basic::ConfKeyMulti& root, const std::vector<std::string>& key_path)
{
    basic::ConfKeyMulti* block = &root;
    for (const std::string& component : key_path)
    {
        int index = block->find_index_multi(component);
        if (index < 0)
        {
            block->add_key(std::make_unique<basic::ConfKeyMulti>(component));
            index = block->get_nbr_keys() - 1;
        }
        block = static_cast<basic::ConfKeyMulti*>(&block->use_key_at(index));
    }
    return *block;
}

// Holds the exclusive lock of the store for the lifetime of the object.
class StoreLock
{
public:
    explicit StoreLock(const std::string& lock_path)
        : fd(::open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600))
    {
        if (fd >= 0)
        {
            int res = 0;
            do
            {
                res = ::flock(fd, LOCK_EX);
            } while (res != 0 && errno == EINTR);
            locked = res == 0;
        }
    }
    ~StoreLock()
    {
        if (fd >= 0)
        {
            ::close(fd); // also releases the lock
        }
    }
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;

    bool is_locked() const { return locked; }

private:
    int fd;
    bool locked = false;
};

} // namespace

struct PersistentKeyList::Data
{
    std::string folder_path;
    std::string file_path;
    // The encoded key names below "Software".
    std::vector<std::string> key_path;
};

PersistentKeyList::PersistentKeyList(const std::string& path, bool create)
    : data(std::make_unique<Data>())
{
    const std::string config_folder = find_config_folder();
    if (config_folder.empty())
    {
        throw_cannot_open();
    }
    data->folder_path = config_folder + "/" + folder_name;
    data->file_path = data->folder_path + "/" + file_name;

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
            data->key_path.push_back(encode(path.substr(start, end - start)));
        }
        start = end + 1;
    }

    // Missing keys are created by the first value written below them.
    if (!create)
    {
        basic::ConfKeyMulti root;
        if (!read_store(data->file_path, root) || find_block(root, data->key_path) == nullptr)
        {
            throw_cannot_open();
        }
    }
}

PersistentKeyList::~PersistentKeyList() = default;

int PersistentKeyList::set_string(const std::string& name, const std::string& value)
{
    if (value.size() > max_value_len || value.find('\0') != std::string::npos)
    {
        return -1;
    }
    try
    {
        std::error_code err;
        std::filesystem::create_directories(data->folder_path, err);

        const std::lock_guard<std::mutex> guard(write_mutex);
        const StoreLock lock(data->file_path + ".lock");
        if (!lock.is_locked())
        {
            return -1;
        }

        basic::ConfKeyMulti root;
        if (!read_store(data->file_path, root))
        {
            return -1;
        }
        basic::ConfKeyMulti& block = make_block(root, data->key_path);
        basic::ConfKeyData leaf(encode_name(name));
        if (value.empty())
        {
            leaf.set_content(basic::ConfKeyContentMulti());
        }
        else
        {
            leaf.set_content(basic::ConfKeyContentString(encode(value)));
        }
        const int index = block.find_index_data(leaf.get_name());
        if (index >= 0)
        {
            static_cast<basic::ConfKeyData&>(block.use_key_at(index))
                .set_content(*leaf.get_content());
        }
        else
        {
            block.add_key(leaf);
        }

        std::string text;
        if (root.write_to_string(text) != 0)
        {
            return -1;
        }
        return basic::write_text_file_atomic(data->file_path, text) == 0 ? 0 : -1;
    }
    catch (const std::exception&)
    {
        return -1;
    }
}

int PersistentKeyList::get_string(const std::string& name, std::string& value) const
{
    value.clear();
    try
    {
        // Writers replace the file in one step, so reading needs no lock.
        basic::ConfKeyMulti root;
        if (!read_store(data->file_path, root))
        {
            return -1;
        }
        const basic::ConfKeyMulti* block = find_block(root, data->key_path);
        if (block == nullptr)
        {
            return -1;
        }
        const int index = block->find_index_data(encode_name(name));
        if (index < 0)
        {
            return -1;
        }
        const auto& leaf = static_cast<const basic::ConfKeyData&>(block->use_key_at(index));
        std::string read;
        if (const auto* str = dynamic_cast<const basic::ConfKeyContentString*>(leaf.get_content()))
        {
            read = decode(str->get_str());
        }
        else if (const auto* list =
                     dynamic_cast<const basic::ConfKeyContentMulti*>(leaf.get_content());
                 list == nullptr || list->get_nbr_elt() != 0)
        {
            return -1;
        }
        if (read.size() > max_value_len || read.find('\0') != std::string::npos)
        {
            return -1;
        }
        value = read;
        return 0;
    }
    catch (const std::exception&)
    {
        return -1;
    }
}

} // namespace sys
