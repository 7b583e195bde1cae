#include "basic/ConfKeyContentMulti.hpp"

#include <stdexcept>
#include <utility>

#include "basic/ConfKeyIndent.hpp"

namespace basic
{

ConfKeyContentMulti::ConfKeyContentMulti(const ConfKeyContentMulti& other)
    : ConfKeyContentInterface(other)
{
    elt_arr.reserve(other.elt_arr.size());
    for (const auto& elt : other.elt_arr)
    {
        elt_arr.push_back(elt->clone());
    }
}

ConfKeyContentMulti& ConfKeyContentMulti::operator=(const ConfKeyContentMulti& other)
{
    if (this != &other)
    {
        ConfKeyContentMulti copy(other);
        elt_arr.swap(copy.elt_arr);
    }
    return *this;
}

int ConfKeyContentMulti::do_write_to_string(std::string& text, ConfKeyIndent& indent) const
{
    const bool long_form = get_nbr_elt() > max_short_form;
    text += long_form ? "{\n" : "{ ";
    if (!long_form)
    {
        for (const auto& elt : elt_arr)
        {
            const int ret = elt->do_write_to_string(text, indent);
            if (ret != 0)
            {
                return ret;
            }
            text += ' ';
        }
        text += '}';
        return 0;
    }

    indent.inc_level();
    const std::string indent_str = indent.make_str();
    for (const auto& elt : elt_arr)
    {
        text += indent_str;
        const int ret = elt->do_write_to_string(text, indent);
        if (ret != 0)
        {
            indent.dec_level();
            return ret;
        }
        text += '\n';
    }
    indent.dec_level();
    text += indent.make_str();
    text += '}';
    return 0;
}

std::unique_ptr<ConfKeyContentInterface> ConfKeyContentMulti::clone() const
{
    return std::make_unique<ConfKeyContentMulti>(*this);
}

const ConfKeyContentInterface& ConfKeyContentMulti::use_elt(int index) const
{
    if (index < 0 || index >= get_nbr_elt())
    {
        throw std::out_of_range("basic::ConfKeyContentMulti::use_elt() : Index out of range.");
    }
    return *elt_arr[static_cast<std::size_t>(index)];
}

ConfKeyContentInterface& ConfKeyContentMulti::use_elt(int index)
{
    return const_cast<ConfKeyContentInterface&>(std::as_const(*this).use_elt(index));
}

void ConfKeyContentMulti::add_content(const ConfKeyContentInterface& content)
{
    elt_arr.push_back(content.clone());
}

void ConfKeyContentMulti::add_content(std::unique_ptr<ConfKeyContentInterface> content)
{
    if (content == nullptr)
    {
        throw std::invalid_argument("basic::ConfKeyContentMulti::add_content() : Null content.");
    }
    elt_arr.push_back(std::move(content));
}

} // namespace basic
