#pragma once

#include <memory>
#include <string>

#include "basic/ConfKeyContentInterface.hpp"
#include "basic/ConfKeyInterface.hpp"

namespace basic
{

// A leaf key: a name and a value. The value is never null; a new key holds an empty string.
class ConfKeyData : public ConfKeyInterface
{
public:
    ConfKeyData();
    explicit ConfKeyData(const std::string& name);
    ConfKeyData(const std::string& name, const std::string& value);
    ConfKeyData(const std::string& name, const ConfKeyContentInterface& init_content);
    ConfKeyData(const ConfKeyData& other);
    // Strong guarantee: nothing changes if cloning the content of other fails.
    ConfKeyData& operator=(const ConfKeyData& other);

    std::unique_ptr<ConfKeyInterface> clone() const override;

    // The content stays owned by the key.
    const ConfKeyContentInterface* get_content() const { return content.get(); }
    ConfKeyContentInterface* get_content() { return content.get(); }
    // Stores a clone of new_content, so the key's own content may be passed.
    void set_content(const ConfKeyContentInterface& new_content);
    // Takes new_content itself; throws std::invalid_argument for null.
    void set_content(std::unique_ptr<ConfKeyContentInterface> new_content);

protected:
    int do_write_key(std::string& text, ConfKeyIndent& indent) const override;

private:
    std::unique_ptr<ConfKeyContentInterface> content;
};

} // namespace basic
