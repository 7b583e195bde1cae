#include "basic/ConfKeyStreamInterface.hpp"

#include "basic/ConfKeyIndent.hpp"

namespace basic
{

int ConfKeyStreamInterface::write_to_string(std::string& text) const
{
    const std::size_t old_size = text.size();
    try
    {
        ConfKeyIndent indent;
        return do_write_to_string(text, indent);
    }
    catch (...)
    {
        text.resize(old_size);
        throw;
    }
}

void ConfKeyStreamInterface::append_quoted(std::string& text, const std::string& str)
{
    if (str.find_first_of(" \t\n,") == std::string::npos)
    {
        text += str;
    }
    else
    {
        text += '"';
        text += str;
        text += '"';
    }
}

} // namespace basic
