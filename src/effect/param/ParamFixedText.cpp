#include "effect/param/ParamFixedText.hpp"

#include "effect/param/ParamText.hpp"

void ParamFixedText::conv_val_to_str(char* buffer, int capacity, double val) const
{
    char text[ParamText::capacity];
    ParamText::format_fixed(text, val, 5);
    copy_text(buffer, capacity, text);
}

double ParamFixedText::conv_str_to_val(const char* text, bool& ok) const
{
    return ParamText::read_clamped(text, ok, min_val_, max_val_);
}
