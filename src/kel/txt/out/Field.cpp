#include "kel/txt/out/Field.hpp"

#include <algorithm>
#include <cassert>

namespace kel::txt::out
{

void Field::add_text(std::string_view text) noexcept
{
    if (!text.empty())
    {
        assert(nbr_pieces_ < max_pieces);
        pieces_[nbr_pieces_++] = Piece{text, 0, 0};
    }
}

void Field::add_fill(char c, std::size_t len) noexcept
{
    if (len > 0)
    {
        assert(nbr_pieces_ < max_pieces);
        pieces_[nbr_pieces_++] = Piece{{}, c, len};
    }
}

std::size_t Field::length() const noexcept
{
    std::size_t len = sign_ != 0 ? 1 : 0;
    for (std::size_t i = 0; i < nbr_pieces_; ++i)
    {
        len += pieces_[i].text.size() + pieces_[i].fill_len;
    }
    return len;
}

void Field::write_body(DevInterface& dev, std::size_t limit) const
{
    for (std::size_t i = 0; i < nbr_pieces_ && limit > 0; ++i)
    {
        const Piece& p = pieces_[i];
        if (!p.text.empty())
        {
            const std::size_t n = std::min(limit, p.text.size());
            dev.put_chars(p.text.data(), n);
            limit -= n;
        }
        else
        {
            const std::size_t n = std::min(limit, p.fill_len);
            dev.put_fill(p.fill, n);
            limit -= n;
        }
    }
}

void Field::write(DevInterface& dev, const FmtInfo& fmt, bool numeric) const
{
    const std::size_t len = length();
    const std::size_t width = fmt.has_width() ? static_cast<std::size_t>(fmt.width) : len;

    if (len > width && fmt.o_flag)
    {
        if (numeric)
        {
            dev.put_fill('#', width);
        }
        else
        {
            write_body(dev, width);
        }
        return;
    }

    const std::size_t pad = (fmt.align != 0 && len < width) ? width - len : 0;
    std::size_t before = 0;
    std::size_t after = 0;
    switch (fmt.align)
    {
    case 1:
        before = pad;
        break;
    case 2:
        before = pad / 2;
        after = pad - before;
        break;
    case 3:
        after = pad;
        break;
    default:
        break;
    }

    const char before_char = fmt.align == 1 ? fmt.fill : ' ';
    // "-0042" rather than "00-42": zero padding belongs after the sign.
    const bool pad_after_sign = numeric && fmt.align == 1 && fmt.fill == '0';
    if (sign_ != 0 && pad_after_sign)
    {
        dev.put_char(sign_);
        dev.put_fill(before_char, before);
    }
    else
    {
        dev.put_fill(before_char, before);
        if (sign_ != 0)
        {
            dev.put_char(sign_);
        }
    }
    write_body(dev, static_cast<std::size_t>(-1));
    dev.put_fill(' ', after);
}

} // namespace kel::txt::out
