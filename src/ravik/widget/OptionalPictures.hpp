#pragma once

#include <array>

#include "ravik/Picture.hpp"

namespace ravik
{

// A widget's optional pictures, each known by its present bit.
class OptionalPictures
{
public:
    void set(unsigned bit, const Picture& picture)
    {
        pictures_[index_of(bit)] = picture;
        present_ |= bit;
    }
    void clear(unsigned bit)
    {
        pictures_[index_of(bit)] = Picture();
        present_ &= ~bit;
    }
    bool has(unsigned bit) const { return (present_ & bit) != 0; }
    const Picture& get(unsigned bit) const { return pictures_[index_of(bit)]; }

private:
    static std::size_t index_of(unsigned bit)
    {
        std::size_t i = 0;
        while (bit > 1 && i < 7)
        {
            bit >>= 1;
            ++i;
        }
        return i;
    }

    std::array<Picture, 8> pictures_;
    unsigned present_ = 0;
};

} // namespace ravik
