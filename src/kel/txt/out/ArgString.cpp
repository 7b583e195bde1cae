#include "kel/txt/out/ArgString.hpp"

#include "kel/txt/out/Field.hpp"

namespace kel::txt::out
{

int ArgString::render(DevInterface& dev, const FmtInfo& fmt) const
{
    Field field;
    field.add_text(text_);
    field.write(dev, fmt, false);
    return 0;
}

} // namespace kel::txt::out
