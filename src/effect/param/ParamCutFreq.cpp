#include "effect/param/ParamCutFreq.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "effect/param/ParamText.hpp"
#include "kel/Rounding.hpp"

namespace
{

// Twelve names of two characters each; naturals end in a blank.
constexpr const char* note_names[12] = {"C ", "C#", "D ", "D#", "E ", "F ",
                                        "F#", "G ", "G#", "A ", "A#", "B "};

// Semitone of a note letter above C, or -1.
int semitone_of(char c)
{
    switch (c)
    {
    case 'C':
    case 'c':
        return 0;
    case 'D':
    case 'd':
        return 2;
    case 'E':
    case 'e':
        return 4;
    case 'F':
    case 'f':
        return 5;
    case 'G':
    case 'g':
        return 7;
    case 'A':
    case 'a':
        return 9;
    case 'B':
    case 'b':
        return 11;
    default:
        return -1;
    }
}

} // namespace

void ParamCutFreq::get_name(char* buffer, int capacity) const
{
    copy_text(buffer, capacity, "Cutoff Freq");
}

void ParamCutFreq::get_unit(char* buffer, int capacity) const
{
    copy_text(buffer, capacity, "Hz");
}

double ParamCutFreq::conv_nrm_to_val(float nrm) const
{
    // 2^(8n) through exp2 rather than exp(8n ln 2), so that n = 1 gives exactly 10240.
    const float octaves = 8.0f * nrm;
    return std::exp2(static_cast<double>(octaves)) * 40.0;
}

float ParamCutFreq::conv_val_to_nrm(double val) const
{
    return static_cast<float>(std::log(val * 0.025) * 0.18033688011112042);
}

void ParamCutFreq::conv_val_to_str(char* buffer, int capacity, double val) const
{
    char text[ParamText::capacity];
    if (is_note_mode())
    {
        const double semis = 12.0 * std::log(val * 0.0022727272727272726) * 1.4426950408889634;
        const long long note = static_cast<long long>(round_int(semis)) + 69;
        // Floor division keeps the name index in 0..11 even for notes below C 0.
        long long octave = note / 12;
        if (note - 12 * octave < 0)
        {
            --octave;
        }
        char number[ParamText::capacity];
        ParamText::format_int(number, octave, ParamText::capacity - 3);
        std::memcpy(text, note_names[note - 12 * octave], 2);
        std::strcpy(text + 2, number);
    }
    else if (val >= 999.5)
    {
        ParamText::format_int(text, round_int(val), 5);
    }
    else
    {
        ParamText::format_fixed(text, val, 5);
    }
    copy_text(buffer, capacity, text);
}

double ParamCutFreq::conv_str_to_val(const char* text, bool& ok) const
{
    if (is_note_mode())
    {
        return conv_note_to_val(text, ok);
    }
    return ParamText::read_clamped(text, ok, min_val, max_val);
}

double ParamCutFreq::conv_note_to_val(const char* text, bool& ok) const
{
    if (text == nullptr)
    {
        return min_val;
    }
    // Only the first 15 characters count.
    const char* end = text;
    while (end - text < 15 && *end != '\0')
    {
        ++end;
    }

    const char* letter = std::find_if(text, end, [](char c) { return semitone_of(c) >= 0; });
    if (letter == end)
    {
        return min_val;
    }
    int semitone = semitone_of(*letter);
    if (std::find(text, end, '#') != end)
    {
        ++semitone;
    }

    const char* digit = std::find_if(text, end, [](char c) { return c >= '0' && c <= '9'; });
    int octave = 0;
    const auto res = std::from_chars(digit, end, octave);
    if (digit == end || res.ec != std::errc() || octave > 11)
    {
        return min_val;
    }

    const double freq = 440.0 * std::exp2((semitone + 12 * octave - 69) / 12.0);
    ok = true;
    return std::clamp(static_cast<double>(static_cast<float>(freq)), min_val, max_val);
}
