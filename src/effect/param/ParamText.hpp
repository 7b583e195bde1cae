#pragma once

// Number texts of the effect's parameters. Locale-independent, so that a host that switches the
// C library to a decimal comma still shows '440.0' and still reads what the user typed.
class ParamText
{
public:
    // Room for every text these functions produce, terminator included.
    static constexpr int capacity = 32;

    // "%f" of val (six decimals), cut to its first width characters.
    static void format_fixed(char (&out)[capacity], double val, int width) noexcept;
    // "%d" of val, cut to its first width characters.
    static void format_int(char (&out)[capacity], long long val, int width) noexcept;

    // Reads one number the way "%lf" does: leading white space, an optional sign, decimal or
    // exponent notation, "inf" and "nan". Returns false when no number could be read.
    static bool read_number(const char* text, double& val) noexcept;
    // The numeric entry of a parameter: exactly one finite-or-infinite number, clamped to
    // lo..hi. NaN fails. On failure ok is left untouched.
    static double read_clamped(const char* text, bool& ok, double lo, double hi) noexcept;
};
