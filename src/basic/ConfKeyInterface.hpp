#pragma once

#include <memory>
#include <string>

#include "basic/ConfKeyStreamInterface.hpp"

namespace basic
{

// A named key of a tree. A name is valid when it holds neither '/' nor '\', the separators of
// key paths; the empty name (an anonymous key) passes the check but cannot be written.
class ConfKeyInterface : public ConfKeyStreamInterface
{
public:
    ConfKeyInterface() = default;
    explicit ConfKeyInterface(const std::string& name);
    ConfKeyInterface(const ConfKeyInterface& other) = default;
    ~ConfKeyInterface() override = default;

    // Throws for an anonymous key, then leaves the text to do_write_key().
    int do_write_to_string(std::string& text, ConfKeyIndent& indent) const final;

    // A deep copy owned by the caller.
    virtual std::unique_ptr<ConfKeyInterface> clone() const = 0;

    const std::string& get_name() const { return name; }
    void set_name(const std::string& new_name);
    const std::string& get_comment() const { return comment; }
    // Comments are written on one line, so line feeds become spaces.
    void set_comment(const std::string& new_comment);

    void check_name_throw() const;
    static bool is_valid_name(const std::string& str);
    // Keeps ASCII letters and digits and turns every other byte into '_'.
    static std::string conv_to_valid_name(const std::string& str);

protected:
    ConfKeyInterface& operator=(const ConfKeyInterface& other) = default;

    virtual int do_write_key(std::string& text, ConfKeyIndent& indent) const = 0;

    void swap_name_comment(ConfKeyInterface& other) noexcept;

private:
    std::string name;
    std::string comment;
};

} // namespace basic
