#include "basic/ConfKeyContentString.hpp"

namespace basic
{

ConfKeyContentString::ConfKeyContentString(const std::string& str)
    : str(str)
{
}

int ConfKeyContentString::do_write_to_string(std::string& text, ConfKeyIndent& /*indent*/) const
{
    append_quoted(text, str);
    return 0;
}

std::unique_ptr<ConfKeyContentInterface> ConfKeyContentString::clone() const
{
    return std::make_unique<ConfKeyContentString>(*this);
}

} // namespace basic
