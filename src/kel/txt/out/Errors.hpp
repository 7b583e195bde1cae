#pragma once

namespace kel::txt::out
{

// Results of formatting; 0 and positive counts are success.
constexpr int err_format = -1;    // a malformed placeholder or specification, or a missing argument
constexpr int err_truncated = -2; // the text did not fit; the array holds its terminated beginning

} // namespace kel::txt::out
