#pragma once

#include <memory>
#include <string>
#include <vector>

#include "basic/ConfKeyContentInterface.hpp"

namespace basic
{

// An ordered list of values; elements may be lists themselves.
class ConfKeyContentMulti : public ConfKeyContentInterface
{
public:
    ConfKeyContentMulti() = default;
    ConfKeyContentMulti(const ConfKeyContentMulti& other);
    // Strong guarantee: the elements of other are cloned before the old ones are dropped.
    ConfKeyContentMulti& operator=(const ConfKeyContentMulti& other);

    int do_write_to_string(std::string& text, ConfKeyIndent& indent) const override;
    std::unique_ptr<ConfKeyContentInterface> clone() const override;

    int get_nbr_elt() const { return static_cast<int>(elt_arr.size()); }
    // Throws std::out_of_range for an index outside [0, get_nbr_elt()).
    const ConfKeyContentInterface& use_elt(int index) const;
    ConfKeyContentInterface& use_elt(int index);
    // Appends a clone of content.
    void add_content(const ConfKeyContentInterface& content);
    // Appends content itself; throws std::invalid_argument for null.
    void add_content(std::unique_ptr<ConfKeyContentInterface> content);

private:
    // Up to this many elements a list is written on the line of its key.
    static constexpr int max_short_form = 7;

    std::vector<std::unique_ptr<ConfKeyContentInterface>> elt_arr;
};

} // namespace basic
