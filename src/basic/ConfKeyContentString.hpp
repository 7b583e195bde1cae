#pragma once

#include <string>

#include "basic/ConfKeyContentInterface.hpp"

namespace basic
{

// One string value. Numbers are kept as text; each user of the tree formats and parses its own.
class ConfKeyContentString : public ConfKeyContentInterface
{
public:
    ConfKeyContentString() = default;
    explicit ConfKeyContentString(const std::string& str);
    ConfKeyContentString(const ConfKeyContentString&) = default;
    ConfKeyContentString& operator=(const ConfKeyContentString&) = default;

    int do_write_to_string(std::string& text, ConfKeyIndent& indent) const override;
    std::unique_ptr<ConfKeyContentInterface> clone() const override;

    const std::string& get_str() const { return str; }
    void set_str(const std::string& new_str) { str = new_str; }

private:
    std::string str;
};

} // namespace basic
