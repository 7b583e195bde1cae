#include "basic/ConfKeyInterface.hpp"

#include <stdexcept>
#include <utility>

namespace basic
{

namespace
{

[[noreturn]] void throw_invalid_name()
{
    throw std::runtime_error("basic::ConfKeyInterface::check_name_throw() : Invalid name.");
}

bool is_ascii_alnum(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

} // namespace

ConfKeyInterface::ConfKeyInterface(const std::string& name)
    : name(name)
{
    check_name_throw();
}

int ConfKeyInterface::do_write_to_string(std::string& text, ConfKeyIndent& indent) const
{
    if (name.empty())
    {
        throw std::runtime_error(
            "basic::ConfKeyInterface::do_write_to_string() : Key can't be anonymous.");
    }
    return do_write_key(text, indent);
}

void ConfKeyInterface::set_name(const std::string& new_name)
{
    // Checked before it is stored, so that a refused name leaves the key as it was.
    if (!is_valid_name(new_name))
    {
        throw_invalid_name();
    }
    name = new_name;
}

void ConfKeyInterface::set_comment(const std::string& new_comment)
{
    comment = new_comment;
    for (char& c : comment)
    {
        if (c == '\n')
        {
            c = ' ';
        }
    }
}

void ConfKeyInterface::check_name_throw() const
{
    if (!is_valid_name(name))
    {
        throw_invalid_name();
    }
}

bool ConfKeyInterface::is_valid_name(const std::string& str)
{
    return str.find_first_of("/\\") == std::string::npos;
}

std::string ConfKeyInterface::conv_to_valid_name(const std::string& str)
{
    std::string result(str);
    for (char& c : result)
    {
        if (!is_ascii_alnum(c))
        {
            c = '_';
        }
    }
    return result;
}

void ConfKeyInterface::swap_name_comment(ConfKeyInterface& other) noexcept
{
    std::swap(name, other.name);
    std::swap(comment, other.comment);
}

} // namespace basic
