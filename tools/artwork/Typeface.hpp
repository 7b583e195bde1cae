#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Canvas.hpp"

namespace artwork
{

// One outline font file rendered with FreeType: hinted lightly (vertical only) and anti-aliased,
// so that small sizes stay crisp on the pixel grid.
class Typeface
{
public:
    struct Glyph
    {
        // Of the bitmap's top-left from the pen position on the baseline, y upwards.
        int left = 0;
        int top = 0;
        int width = 0;
        int rows = 0;
        // Whole pixels.
        int advance = 0;
        std::vector<std::uint8_t> coverage;
    };

    // Throws std::runtime_error when the file cannot be opened.
    explicit Typeface(const std::string& path);
    ~Typeface();
    Typeface(const Typeface&) = delete;
    Typeface& operator=(const Typeface&) = delete;

    // The em size in pixels.
    void set_size(float pixels);
    Glyph glyph(char32_t code) const;
    // Whole pixels above and below the baseline.
    int ascender() const;
    int descender() const;

    // tracking: pixels added after every character but the last.
    int measure(std::u32string_view text, float tracking = 0.0f) const;
    // The text's left end at x, its baseline at y, both rounded to whole pixels.
    void draw(Canvas& canvas, std::u32string_view text, float x, float y, const Rgba& colour,
              float tracking = 0.0f) const;
    // Centred on x.
    void draw_centred(Canvas& canvas, std::u32string_view text, float x, float y,
                      const Rgba& colour, float tracking = 0.0f) const;

private:
    int kerning(char32_t left, char32_t right) const;

    struct Impl;
    Impl* impl_;
};

// The code points of an ASCII or Latin-1 text.
std::u32string latin(std::string_view text);

} // namespace artwork
