#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "ravik/Geometry.hpp"
#include "ravik/RenderingBufferInterface.hpp"
#include "ravik/Text.hpp"

namespace ravik
{

// A bitmap font: a horizontal strip of glyphs whose last row marks them, every run of equal
// marker values being one glyph, in order from the left. Glyph n is drawn for byte n. Reads the
// resource bytes in place; editor thread.
class FontInterface
{
public:
    struct Glyph
    {
        int width = 0;
        // Of the glyph's first column in the strip.
        int offset = 0;
    };

    virtual ~FontInterface() = default;
    FontInterface(const FontInterface&) = delete;
    FontInterface& operator=(const FontInterface&) = delete;

    // Draws the part src of the strip with its top-left at dst in the buffer, cut to both.
    // colour is 0x00RRGGBB.
    virtual void draw_glyph(const Rect& src, const Point& dst, RenderingBufferInterface& buffer,
                            std::uint32_t colour) const = 0;

    // clip is the part of the text's box (box coordinates) that the buffer covers, so box pixel
    // (u, v) lands on buffer pixel (u - clip.x1, v - clip.y1); nothing is drawn outside it or the
    // box. Returns 0.
    int draw_text(const Rect& clip, RenderingBufferInterface& buffer, const Text& text) const;
    // In pixels; bytes without a glyph add nothing.
    int text_width(std::string_view text) const;

    int get_nbr_glyphs() const { return static_cast<int>(glyphs_.size()); }
    // index from 0 to get_nbr_glyphs() - 1.
    const Glyph& get_glyph(int index) const { return glyphs_[static_cast<std::size_t>(index)]; }
    int get_strip_width() const { return strip_width_; }
    int get_strip_height() const { return strip_height_; }
    // The strip without its marker row.
    int get_line_height() const { return strip_height_ - 1; }

protected:
    // marker: the strip's last row, one value every step bytes.
    FontInterface(int strip_width, int strip_height, const std::uint8_t* marker,
                  std::ptrdiff_t step);

private:
    std::vector<Glyph> glyphs_;
    int strip_width_;
    int strip_height_;
};

} // namespace ravik
