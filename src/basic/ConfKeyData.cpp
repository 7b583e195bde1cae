#include "basic/ConfKeyData.hpp"

#include <stdexcept>
#include <utility>

#include "basic/ConfKeyContentString.hpp"
#include "basic/ConfKeyIndent.hpp"

namespace basic
{

ConfKeyData::ConfKeyData()
    : content(std::make_unique<ConfKeyContentString>())
{
}

ConfKeyData::ConfKeyData(const std::string& name)
    : ConfKeyInterface(name)
    , content(std::make_unique<ConfKeyContentString>())
{
}

ConfKeyData::ConfKeyData(const std::string& name, const std::string& value)
    : ConfKeyInterface(name)
    , content(std::make_unique<ConfKeyContentString>(value))
{
}

ConfKeyData::ConfKeyData(const std::string& name, const ConfKeyContentInterface& init_content)
    : ConfKeyInterface(name)
    , content(init_content.clone())
{
}

ConfKeyData::ConfKeyData(const ConfKeyData& other)
    : ConfKeyInterface(other)
    , content(other.content->clone())
{
}

ConfKeyData& ConfKeyData::operator=(const ConfKeyData& other)
{
    if (this != &other)
    {
        ConfKeyData copy(other);
        swap_name_comment(copy);
        content.swap(copy.content);
    }
    return *this;
}

std::unique_ptr<ConfKeyInterface> ConfKeyData::clone() const
{
    return std::make_unique<ConfKeyData>(*this);
}

void ConfKeyData::set_content(const ConfKeyContentInterface& new_content)
{
    content = new_content.clone();
}

void ConfKeyData::set_content(std::unique_ptr<ConfKeyContentInterface> new_content)
{
    if (new_content == nullptr)
    {
        throw std::invalid_argument("basic::ConfKeyData::set_content() : Null content.");
    }
    content = std::move(new_content);
}

int ConfKeyData::do_write_key(std::string& text, ConfKeyIndent& indent) const
{
    text += indent.make_str();
    append_quoted(text, get_name());
    text += " = ";
    const int ret = content->do_write_to_string(text, indent);
    if (ret != 0)
    {
        return ret;
    }
    if (!get_comment().empty())
    {
        text += "\t// ";
        text += get_comment();
    }
    return 0;
}

} // namespace basic
