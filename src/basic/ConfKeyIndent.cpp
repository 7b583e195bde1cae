#include "basic/ConfKeyIndent.hpp"

namespace basic
{

void ConfKeyIndent::dec_level()
{
    if (level > 0)
    {
        --level;
    }
}

std::string ConfKeyIndent::make_str() const
{
    return std::string(static_cast<std::size_t>(level) * spaces_per_level, ' ');
}

} // namespace basic
