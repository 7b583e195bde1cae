#pragma once

#include <span>
#include <string_view>

#include "kel/txt/out/ArgBase.hpp"
#include "kel/txt/out/DevInterface.hpp"

namespace kel::txt::out
{

// A format string holds numbered placeholders "%n%" or "%n<specification>%" naming argument n
// (from 1); "%%" prints '%', and a '%' followed by anything else than a digit prints as it is.

// The highest argument number that fmt uses (0 for none), or -1 when fmt ends inside a
// placeholder or names an argument number too large to be real.
int scan_format(std::string_view fmt) noexcept;

// Writes fmt with its placeholders replaced by the rendered arguments. A placeholder that cannot
// be rendered (bad specification, missing argument) is copied as it stands, the rest of the text
// is still written, and the result is -1; otherwise it is 0. int_params are the values that the
// specifications read with '!' (in order) and '$' (by position).
int format_to(DevInterface& dev, std::string_view fmt, std::span<const ArgBase* const> args,
              std::span<const int> int_params);

} // namespace kel::txt::out
