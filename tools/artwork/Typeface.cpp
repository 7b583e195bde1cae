#include "Typeface.hpp"

#include <cmath>
#include <ft2build.h>
#include <stdexcept>
#include FT_FREETYPE_H

namespace artwork
{

struct Typeface::Impl
{
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

Typeface::Typeface(const std::string& path)
    : impl_(new Impl)
{
    if (FT_Init_FreeType(&impl_->library) != 0 ||
        FT_New_Face(impl_->library, path.c_str(), 0, &impl_->face) != 0)
    {
        if (impl_->library != nullptr)
        {
            FT_Done_FreeType(impl_->library);
        }
        delete impl_;
        throw std::runtime_error("cannot open the font " + path);
    }
}

Typeface::~Typeface()
{
    FT_Done_Face(impl_->face);
    FT_Done_FreeType(impl_->library);
    delete impl_;
}

void Typeface::set_size(float pixels)
{
    FT_Set_Char_Size(impl_->face, 0, static_cast<FT_F26Dot6>(std::lround(pixels * 64.0f)), 72, 72);
}

Typeface::Glyph Typeface::glyph(char32_t code) const
{
    Glyph g;
    const FT_UInt index = FT_Get_Char_Index(impl_->face, code);
    if (FT_Load_Glyph(impl_->face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0)
    {
        return g;
    }
    const FT_GlyphSlot slot = impl_->face->glyph;
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = static_cast<int>(slot->bitmap.width);
    g.rows = static_cast<int>(slot->bitmap.rows);
    g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    g.coverage.resize(static_cast<std::size_t>(g.width * g.rows));
    for (int y = 0; y < g.rows; ++y)
    {
        for (int x = 0; x < g.width; ++x)
        {
            g.coverage[static_cast<std::size_t>(y * g.width + x)] =
                slot->bitmap.buffer[y * slot->bitmap.pitch + x];
        }
    }
    return g;
}

int Typeface::ascender() const
{
    return static_cast<int>((impl_->face->size->metrics.ascender + 63) >> 6);
}

int Typeface::descender() const
{
    return static_cast<int>((-impl_->face->size->metrics.descender + 63) >> 6);
}

int Typeface::kerning(char32_t left, char32_t right) const
{
    if (!FT_HAS_KERNING(impl_->face))
    {
        return 0;
    }
    FT_Vector k;
    FT_Get_Kerning(impl_->face, FT_Get_Char_Index(impl_->face, left),
                   FT_Get_Char_Index(impl_->face, right), FT_KERNING_DEFAULT, &k);
    return static_cast<int>((k.x + 32) >> 6);
}

int Typeface::measure(std::u32string_view text, float tracking) const
{
    float width = 0.0f;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        width += static_cast<float>(glyph(text[i]).advance);
        if (i + 1 < text.size())
        {
            width += tracking + static_cast<float>(kerning(text[i], text[i + 1]));
        }
    }
    return static_cast<int>(std::lround(width));
}

void Typeface::draw(Canvas& canvas, std::u32string_view text, float x, float y, const Rgba& colour,
                    float tracking) const
{
    float pen = std::round(x);
    const int baseline = static_cast<int>(std::lround(y));
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        const Glyph g = glyph(text[i]);
        const int left = static_cast<int>(std::lround(pen)) + g.left;
        const int top = baseline - g.top;
        for (int gy = 0; gy < g.rows; ++gy)
        {
            for (int gx = 0; gx < g.width; ++gx)
            {
                const int px = left + gx;
                const int py = top + gy;
                if (px < 0 || py < 0 || px >= canvas.width() || py >= canvas.height())
                {
                    continue;
                }
                const float v =
                    static_cast<float>(g.coverage[static_cast<std::size_t>(gy * g.width + gx)]) /
                    255.0f;
                canvas.at(px, py) = over(colour * v, canvas.at(px, py));
            }
        }
        pen += static_cast<float>(g.advance);
        if (i + 1 < text.size())
        {
            pen += tracking + static_cast<float>(kerning(text[i], text[i + 1]));
        }
    }
}

void Typeface::draw_centred(Canvas& canvas, std::u32string_view text, float x, float y,
                            const Rgba& colour, float tracking) const
{
    draw(canvas, text, x - static_cast<float>(measure(text, tracking)) * 0.5f, y, colour, tracking);
}

std::u32string latin(std::string_view text)
{
    std::u32string out;
    for (const char c : text)
    {
        out.push_back(static_cast<unsigned char>(c));
    }
    return out;
}

} // namespace artwork
