#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "kel/txt/out/DevInterface.hpp"
#include "kel/txt/out/FmtInfo.hpp"

namespace kel::txt::out
{

// The rendered text of one argument, kept as a few pieces so that long runs of zeros (a huge
// precision or exponent width) are counted rather than stored. The sign is separate so that
// zero padding goes between the sign and the digits.
class Field
{
public:
    void set_sign(char sign) noexcept { sign_ = sign; }
    void add_text(std::string_view text) noexcept;
    void add_fill(char c, std::size_t len) noexcept;

    std::size_t length() const noexcept;

    // Writes the field padded to fmt.width according to fmt.align. A numeric field that is too
    // long for a strict width (o_flag) shows '#' marks; other text is cut to the width.
    void write(DevInterface& dev, const FmtInfo& fmt, bool numeric) const;

private:
    struct Piece
    {
        std::string_view text;
        char fill = 0;
        std::size_t fill_len = 0;
    };

    void write_body(DevInterface& dev, std::size_t limit) const;

    static constexpr std::size_t max_pieces = 6;
    std::array<Piece, max_pieces> pieces_{};
    std::size_t nbr_pieces_ = 0;
    char sign_ = 0;
};

} // namespace kel::txt::out
