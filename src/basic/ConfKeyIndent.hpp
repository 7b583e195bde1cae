#pragma once

#include <string>

namespace basic
{

// Indentation state of the writer: three spaces per level.
class ConfKeyIndent
{
public:
    static constexpr int spaces_per_level = 3;

    int get_level() const { return level; }
    void inc_level() { ++level; }
    // Never goes below 0, so that make_str() stays valid whatever the caller does.
    void dec_level();

    std::string make_str() const;

private:
    int level = 0;
};

} // namespace basic
