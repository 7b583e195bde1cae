#include "basic/ConfKeyMulti.hpp"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "basic/ConfKeyContentString.hpp"
#include "basic/ConfKeyData.hpp"
#include "basic/ConfKeyIndent.hpp"

namespace basic
{

ConfKeyMulti::ConfKeyMulti(const std::string& name)
    : ConfKeyInterface(name)
{
}

ConfKeyMulti::ConfKeyMulti(const ConfKeyMulti& other)
    : ConfKeyInterface(other)
{
    key_arr.reserve(other.key_arr.size());
    for (const auto& key : other.key_arr)
    {
        key_arr.push_back(key->clone());
    }
}

ConfKeyMulti& ConfKeyMulti::operator=(const ConfKeyMulti& other)
{
    if (this != &other)
    {
        ConfKeyMulti copy(other);
        swap_name_comment(copy);
        key_arr.swap(copy.key_arr);
    }
    return *this;
}

std::unique_ptr<ConfKeyInterface> ConfKeyMulti::clone() const
{
    return std::make_unique<ConfKeyMulti>(*this);
}

const ConfKeyInterface& ConfKeyMulti::use_key_at(int index) const
{
    if (index < 0 || index >= get_nbr_keys())
    {
        throw std::out_of_range("basic::ConfKeyMulti::use_key_at() : Index out of range.");
    }
    return *key_arr[static_cast<std::size_t>(index)];
}

ConfKeyInterface& ConfKeyMulti::use_key_at(int index)
{
    return const_cast<ConfKeyInterface&>(std::as_const(*this).use_key_at(index));
}

template <class Kind>
int ConfKeyMulti::find_index_of_kind(const std::string& name, int start) const
{
    for (int index = std::max(start, 0); index < get_nbr_keys(); ++index)
    {
        const ConfKeyInterface& key = *key_arr[static_cast<std::size_t>(index)];
        if (key.get_name() == name && dynamic_cast<const Kind*>(&key) != nullptr)
        {
            return index;
        }
    }
    return -1;
}

int ConfKeyMulti::find_index(const std::string& name, int start) const
{
    return find_index_of_kind<ConfKeyInterface>(name, start);
}

int ConfKeyMulti::find_index_multi(const std::string& name, int start) const
{
    return find_index_of_kind<ConfKeyMulti>(name, start);
}

int ConfKeyMulti::find_index_data(const std::string& name, int start) const
{
    return find_index_of_kind<ConfKeyData>(name, start);
}

int ConfKeyMulti::find_index_throw(const std::string& name) const
{
    const int index = find_index(name);
    if (index < 0)
    {
        throw std::runtime_error("basic::ConfKeyMulti::find_index_throw() : Key not found.");
    }
    return index;
}

// Walks down iteratively: paths come from callers and may be of any length.
const ConfKeyInterface* ConfKeyMulti::find_key(const std::string& path) const
{
    const ConfKeyMulti* node = this;
    std::string remaining = path;
    std::string first;
    std::string rest;
    for (;;)
    {
        split_key_path_first(first, rest, remaining);
        const int index = node->find_index(first);
        if (index < 0)
        {
            return nullptr;
        }
        const ConfKeyInterface* child = node->key_arr[static_cast<std::size_t>(index)].get();
        if (rest.empty())
        {
            return child;
        }
        node = dynamic_cast<const ConfKeyMulti*>(child);
        if (node == nullptr)
        {
            return nullptr;
        }
        remaining.swap(rest);
    }
}

ConfKeyInterface* ConfKeyMulti::find_key(const std::string& path)
{
    return const_cast<ConfKeyInterface*>(std::as_const(*this).find_key(path));
}

const ConfKeyInterface& ConfKeyMulti::use_key(const std::string& path) const
{
    const ConfKeyInterface* key = find_key(path);
    if (key == nullptr)
    {
        throw std::runtime_error("basic::ConfKeyMulti::use_key() : Key doesn't exist.");
    }
    return *key;
}

ConfKeyInterface& ConfKeyMulti::use_key(const std::string& path)
{
    return const_cast<ConfKeyInterface&>(std::as_const(*this).use_key(path));
}

bool ConfKeyMulti::is_existing_key(const std::string& path) const
{
    return find_key(path) != nullptr;
}

void ConfKeyMulti::add_key(const ConfKeyInterface& key)
{
    key_arr.push_back(key.clone());
}

void ConfKeyMulti::add_key(std::unique_ptr<ConfKeyInterface> key)
{
    if (key == nullptr)
    {
        throw std::invalid_argument("basic::ConfKeyMulti::add_key() : Null key.");
    }
    key_arr.push_back(std::move(key));
}

void ConfKeyMulti::set_key(const ConfKeyInterface& key)
{
    // Cloned before the old child goes, since key may be that child or lie inside it.
    std::unique_ptr<ConfKeyInterface> copy = key.clone();
    const int index = find_index(key.get_name());
    if (index < 0)
    {
        key_arr.push_back(std::move(copy));
    }
    else
    {
        key_arr[static_cast<std::size_t>(index)] = std::move(copy);
    }
}

void ConfKeyMulti::set_data(const std::string& path, const std::string& value)
{
    std::string first;
    std::string rest;
    for (std::string remaining = path; !remaining.empty(); remaining.swap(rest))
    {
        split_key_path_first(first, rest, remaining);
    }

    ConfKeyMulti* node = this;
    std::string remaining = path;
    for (;;)
    {
        split_key_path_first(first, rest, remaining);
        if (rest.empty())
        {
            node->set_key(ConfKeyData(first, value));
            return;
        }
        int index = node->find_index(first);
        if (index < 0)
        {
            node->key_arr.push_back(std::make_unique<ConfKeyMulti>(first));
            index = node->get_nbr_keys() - 1;
        }
        auto& child = node->key_arr[static_cast<std::size_t>(index)];
        if (dynamic_cast<ConfKeyMulti*>(child.get()) == nullptr)
        {
            child = std::make_unique<ConfKeyMulti>(first);
        }
        node = static_cast<ConfKeyMulti*>(child.get());
        remaining.swap(rest);
    }
}

std::string ConfKeyMulti::get_data_string(const std::string& path) const
{
    const auto* data = dynamic_cast<const ConfKeyData*>(find_key(path));
    if (data == nullptr)
    {
        return std::string();
    }
    const auto* str = dynamic_cast<const ConfKeyContentString*>(data->get_content());
    return str == nullptr ? std::string() : str->get_str();
}

void ConfKeyMulti::split_key_path_first(std::string& first, std::string& rest,
                                        const std::string& path)
{
    const std::size_t pos = path.find_first_of("/\\");
    if (pos == 0 || path.empty())
    {
        throw std::runtime_error("basic::ConfKeyMulti::split_key_path_first() : Invalid key path.");
    }
    if (pos == std::string::npos)
    {
        first = path;
        rest.clear();
    }
    else
    {
        first = path.substr(0, pos);
        rest = path.substr(pos + 1);
    }
}

int ConfKeyMulti::do_write_key(std::string& text, ConfKeyIndent& indent) const
{
    const std::string indent_str = indent.make_str();
    if (!get_comment().empty())
    {
        text += indent_str;
        text += "// ";
        text += get_comment();
        text += '\n';
    }
    text += indent_str;
    append_quoted(text, get_name());
    text += " =\n";
    text += indent_str;
    text += "{\n";

    indent.inc_level();
    for (const auto& key : key_arr)
    {
        const int ret = key->do_write_to_string(text, indent);
        if (ret != 0)
        {
            indent.dec_level();
            return ret;
        }
        text += '\n';
    }
    indent.dec_level();

    text += indent_str;
    text += '}';
    return 0;
}

} // namespace basic
